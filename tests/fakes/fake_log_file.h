#pragma once

#include <string>
#include <vector>

#include "platform/log_file.h"

namespace qmx::fakes {

// A log file in memory: its text, the generation kept before it, and a clock the test sets.
// `movable` false stands for a file another program holds open without letting it be renamed.
class FakeLogFile : public platform::LogFile {
public:
    std::uint64_t size() override { return text.size(); }
    void append(std::string_view more) override { text.append(more); }
    void keepAsPrevious() override {
        if (!movable) return;
        previous = text;
        text.clear();
    }
    platform::LocalTime now() override { return time; }

    // The lines written so far, without their time stamps.
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            const std::size_t body = text.find(' ', text.find(' ', start) + 1) + 1;
            result.push_back(text.substr(body, end - body));
        }
        return result;
    }

    std::string text;
    std::string previous;
    bool movable = true;
    platform::LocalTime time{2026, 12, 9, 8, 30, 5, 42};
};

}  // namespace qmx::fakes
