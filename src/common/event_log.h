#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/log_file.h"

namespace qmx {

// What the system answered, kept when the user asks for a log: one line per event, stamped with
// its time. Until start() every line goes nowhere, so the program writes no file unless asked.
// The file stays under kBound bytes: a line that would pass it first moves the file aside as the
// previous generation.
class EventLog {
public:
    explicit EventLog(platform::LogFile& file) : file_(file) {}
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    void start() { started_ = true; }
    // Callers skip building a costly line when nobody keeps it.
    bool started() const { return started_; }
    void write(std::string_view line);

    static constexpr std::uint64_t kBound = 256 * 1024;

private:
    platform::LogFile& file_;
    bool started_ = false;
    std::uint64_t size_ = 0;
    bool sizeKnown_ = false;
};

// A system result code as the log shows it: 0x8007001F.
std::string hexCode(std::uint32_t code);

}  // namespace qmx
