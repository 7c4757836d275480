#pragma once

#include <cstdint>
#include <functional>
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
    // Writes the run's first lines (the program's own facts) through the log it is given.
    using Opening = std::function<void(EventLog&)>;

    explicit EventLog(platform::LogFile& file) : file_(file) {}
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Keeps lines from now on; `opening` runs just before the first other line or at
    // writeOpening(), whichever comes first, and again at the head of each new file after the
    // bound moved the last one aside. Nothing touches the file yet.
    void start(Opening opening = {});
    // Callers skip building a costly line when nobody keeps it.
    bool started() const { return started_; }
    // Writes the opening lines now, unless they are written already.
    void writeOpening();
    // One event; a line break inside it becomes a space.
    void write(std::string_view line);

    static constexpr std::uint64_t kBound = 256 * 1024;

private:
    void keep(std::string text);

    platform::LogFile& file_;
    bool started_ = false;
    Opening opening_;
    bool openingWritten_ = false;
};

// A system result code as the log shows it, with the program's words for it where it has them:
// 0x8007001F, 0x88890010 (The audio service is not running.).
std::string hexCode(std::uint32_t code);

}  // namespace qmx
