#pragma once

#include <cstdint>
#include <string_view>

namespace qmx::platform {

// The local time of day with its date, as a log line carries it.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The file that keeps the program's log, in the user's local application data, and the clock its
// lines are stamped with. Nothing is touched until a line is appended; no call ever fails the
// program: a folder that cannot be written makes append and keepAsPrevious change nothing.
class LogFile {
public:
    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
    virtual ~LogFile() = default;

    // The file's size in bytes; 0 when there is none.
    virtual std::uint64_t size() = 0;
    // Appends UTF-8 text at the file's end, making its folder and the file when they are missing.
    virtual void append(std::string_view text) = 0;
    // Keeps the file as the previous generation (qmx.old.log, replacing one kept before); the
    // next append starts a new file.
    virtual void keepAsPrevious() = 0;
    virtual LocalTime now() = 0;
};

}  // namespace qmx::platform
