#pragma once

#include <cstdint>
#include <string_view>

namespace qmx {

// Why the program ends, as its log tells it.
enum class EndCause {
    CloseCommand,  // the menu's Close
    CloseRequest,  // a request to close the main window (another program, an installer, Alt+F4)
    SessionEnd,    // Windows ends the user's session
    SecondCopy,    // another copy runs from the same folder: this one gives way
    FatalMessage,  // a message that ends the program was answered
};

// The ways the program ends itself. Neither call returns: the process is gone afterwards and no
// window's unload handling runs.
class ProgramEnd {
public:
    ProgramEnd() = default;
    ProgramEnd(const ProgramEnd&) = delete;
    ProgramEnd& operator=(const ProgramEnd&) = delete;
    virtual ~ProgramEnd() = default;

    // Shows `text` in a message box captioned with the application title, then ends the program.
    [[noreturn]] virtual void fatal(std::string_view text, unsigned messageBoxFlags) = 0;
    // Ends the program at once with the given exit code.
    [[noreturn]] virtual void end(std::uint32_t exitCode, EndCause cause) = 0;
};

// Message box flags the program uses.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;

}  // namespace qmx
