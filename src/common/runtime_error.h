#pragma once

#include <stdexcept>
#include <string>

namespace qmx {

// An operation that could not complete. Its text is the description shown to the user
// wherever a failure is reported "with its description".
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const std::string& description) : std::runtime_error(description) {}
};

// Runs `step`; a run-time failure inside it passes silently (the sequences that go on with their
// next step whatever this one did).
template <typename Step>
void skipOnError(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// Thrown when an event must be abandoned because the program is already ending (a fatal
// message box is open and its modal loop delivered another event). The window-procedure
// boundary swallows it.
struct EventAbandoned {};

}  // namespace qmx
