#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace qmx::fakes {

// Every fake appends what it was asked to do here, so a test can check the order of operations
// across services.
struct CallLog {
    std::vector<std::string> calls;

    void add(std::string call) { calls.push_back(std::move(call)); }
    long count(const std::string& call) const {
        return std::count(calls.begin(), calls.end(), call);
    }
    // Position of the first call equal to `call`, or -1.
    long indexOf(const std::string& call) const {
        auto it = std::find(calls.begin(), calls.end(), call);
        return it == calls.end() ? -1 : static_cast<long>(it - calls.begin());
    }
};

// How the fake process service ends a process: it unwinds the test instead.
struct ProcessExit {
    unsigned exitCode;
};

}  // namespace qmx::fakes
