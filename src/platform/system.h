#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qmx::platform {

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;  // 2 = the NT family
};

// System information: the version record, the system folder, the desktop's work area. (A
// window's resolution is its form's: Forms::windowDpi.)
class System {
public:
    System() = default;
    System(const System&) = delete;
    System& operator=(const System&) = delete;
    virtual ~System() = default;

    // The version record as the system fills it; all zero when the call fails. From Windows 8.1
    // on the system tells a program the version its manifest declares it knows (6.2 at most for
    // this one), not its own.
    virtual OsVersion version() = 0;
    // The version the system's kernel reports, whatever the manifest declares; the version
    // record where the kernel cannot be asked.
    virtual OsVersion kernelVersion() = 0;
    // A buffer of `bufferChars` characters, first filled with spaces, after the system wrote its
    // system folder and a NUL into it (it writes nothing when the path does not fit).
    virtual std::string systemDirectoryBuffer(std::size_t bufferChars) = 0;
    // The desktop area not covered by the taskbar and other docked bars, in screen pixels;
    // false (rectangle untouched) when the query fails.
    virtual bool workArea(Rect& area) = 0;
    // The folders for programs that only administrators may change (Program Files, and on 64-bit
    // Windows its folder for 32-bit programs), without a final backslash; those the system
    // names.
    virtual std::vector<std::string> programFilesFolders() = 0;
    // An existing file's or folder's path with every part in its long form, as the file system
    // names it (a folder may also be reached by its short name, C:\PROGRA~1); nothing when the
    // system cannot tell (a part that does not exist).
    virtual std::optional<std::string> longPathName(const std::string& path) = 0;
};

}  // namespace qmx::platform
