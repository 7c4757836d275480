#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/call_log.h"
#include "platform/shell.h"

namespace qmx::fakes {

class FakeShell : public platform::Shell {
public:
    explicit FakeShell(CallLog& log) : log_(log) {}

    // The notification area takes an icon only while `ready`, and only one with the icon's id:
    // a change or a callback form needs the icon there.
    bool notifyIcon(platform::TrayMessage message, const platform::TrayIconData& data) override {
        static const char* names[] = {"add", "modify", "delete", "setfocus", "setversion"};
        log_.add(std::string("shell.notifyIcon ") + names[static_cast<int>(message)]);
        trayCalls.push_back({message, data});
        switch (message) {
            case platform::TrayMessage::Add:
                if (!ready || iconShown) return false;
                iconShown = true;
                return !addTimesOut;
            case platform::TrayMessage::Delete:
                return std::exchange(iconShown, false);
            default:
                return ready && iconShown;
        }
    }
    // Explorer starts again: the new notification area shows no icon, and takes icons from
    // `takesIcons` on.
    void restart(bool takesIcons) {
        iconShown = false;
        ready = takesIcons;
    }
    int adds() const {
        return static_cast<int>(std::count_if(trayCalls.begin(), trayCalls.end(), [](auto& c) {
            return c.message == platform::TrayMessage::Add;
        }));
    }

    bool trayIconRect(const platform::TrayIconData&, platform::Rect& rect) override {
        if (!iconRect) return false;
        rect = *iconRect;
        return true;
    }

    bool notificationAreaRect(platform::Rect& area) override {
        if (!notificationArea) return false;
        area = *notificationArea;
        return true;
    }
    bool taskbarRect(platform::Rect& rect) override {
        if (!taskbar) return false;
        rect = *taskbar;
        return true;
    }

    std::uint32_t startProgram(std::string_view commandLine,
                               std::string_view currentFolder) override {
        log_.add("shell.start " + std::string(commandLine));
        started.emplace_back(commandLine);
        startedIn.emplace_back(currentFolder);
        return startError;
    }
    std::string errorDescription(std::uint32_t error) override {
        if (error == 2) return "File not found.";
        if (error == 1167) return "The device is not connected.";
        return "Error " + std::to_string(error);
    }

    bool openAddress(std::string_view address) override {
        log_.add("shell.openAddress " + std::string(address));
        if (startError != 0) return false;
        openedAddresses.emplace_back(address);
        return true;
    }
    bool openInNewBrowserWindow(std::string_view address) override {
        log_.add("shell.browser " + std::string(address));
        if (!browserAvailable) return false;
        browserWindows.emplace_back(address);
        return true;
    }

    // Where the tray icon stands; nothing where the shell cannot tell (XP, Vista).
    std::optional<platform::Rect> iconRect = platform::Rect{1000, 740, 1016, 756};
    // Where the taskbar's notification area stands; nothing where there is none to find.
    std::optional<platform::Rect> notificationArea = platform::Rect{900, 738, 1024, 768};
    std::optional<platform::Rect> taskbar = platform::Rect{0, 738, 1024, 768};
    std::vector<std::string> openedAddresses;
    std::vector<std::string> browserWindows;
    bool browserAvailable = true;
    std::vector<std::string> started;
    std::vector<std::string> startedIn;  // each started program's current folder
    std::uint32_t startError = 0;        // also fails opening an address
    bool ready = true;
    bool iconShown = false;
    bool addTimesOut = false;  // an Add puts the icon up but answers a failure

    struct TrayCall {
        platform::TrayMessage message;
        platform::TrayIconData data;
    };
    std::vector<TrayCall> trayCalls;

private:
    CallLog& log_;
};

}  // namespace qmx::fakes
