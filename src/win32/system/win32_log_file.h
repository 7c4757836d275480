#pragma once

#include <string>

#include "platform/log_file.h"

namespace qmx::win32 {

// qmx.log in "Velto Volume Controller" under the user's local application data. The folder is
// looked up and made at the first append; every append opens, writes and closes the file, so the
// log holds no handle between its rare lines and another program may read or delete it.
class Win32LogFile : public platform::LogFile {
public:
    std::uint64_t size() override;
    void append(std::string_view text) override;
    void keepAsPrevious() override;
    platform::LocalTime now() override;

private:
    // The folder's path with a final backslash; empty when the system names no folder.
    const std::wstring& folder();

    std::wstring folder_;
    bool folderLookedUp_ = false;
};

}  // namespace qmx::win32
