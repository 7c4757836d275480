#pragma once

#include <cstdint>
#include <string>

namespace qmx::platform {

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;  // 2 = the NT family
};

// System information: the version record, the system folder, the screen's resolution.
class System {
public:
    System() = default;
    System(const System&) = delete;
    System& operator=(const System&) = delete;
    virtual ~System() = default;

    // The version record as the system fills it; all zero when the call fails.
    virtual OsVersion version() = 0;
    // A buffer of `bufferChars` characters, first filled with spaces, after the system wrote its
    // system folder and a NUL into it (it writes nothing when the path does not fit).
    virtual std::string systemDirectoryBuffer(std::size_t bufferChars) = 0;
    // Twips per pixel of the screen (1440 / DPI), horizontally and vertically.
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
};

}  // namespace qmx::platform
