#pragma once

#include <vector>

#include "fakes/call_log.h"
#include "platform/shell.h"

namespace qmx::fakes {

class FakeShell : public platform::Shell {
  public:
    explicit FakeShell(CallLog& log) : log_(log) {}

    bool notifyIcon(platform::TrayMessage message, const platform::TrayIconData& data) override {
        static const char* names[] = {"add", "modify", "delete"};
        log_.add(std::string("shell.notifyIcon ") + names[static_cast<int>(message)]);
        trayCalls.push_back({message, data});
        return true;
    }

    struct TrayCall {
        platform::TrayMessage message;
        platform::TrayIconData data;
    };
    std::vector<TrayCall> trayCalls;

  private:
    CallLog& log_;
};

}  // namespace qmx::fakes
