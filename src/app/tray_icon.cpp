#include "app/tray_icon.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/app_title.h"

namespace qmx::app {

namespace {
constexpr std::uint32_t kAllFlags =
    platform::kTrayFlagMessage | platform::kTrayFlagIcon | platform::kTrayFlagTip;
// The tip never changes after the icon is added. Sending it again while the shell shows it makes
// the shell place the tooltip anew at the pointer, wherever the pointer is by then: over the
// controller, where it takes the next click.
constexpr std::uint32_t kIconFlags = platform::kTrayFlagMessage | platform::kTrayFlagIcon;
}  // namespace

TrayIcon::TrayIcon(platform::Shell& shell, platform::Forms& forms, platform::Timers& timers,
                   EventLog& log)
    : shell_(shell), forms_(forms), timers_(timers), log_(log) {}

void TrayIcon::add(platform::WindowId host) {
    trayIconData_.window = host;
    trayIconData_.icon = platform::IconId::TrayNormal;
    // The tip: the title, a NUL, then spaces to the end of the 64-character field.
    trayIconData_.tip.fill(' ');
    const std::size_t length = std::min(std::strlen(kAppTitle), trayIconData_.tip.size() - 1);
    std::memcpy(trayIconData_.tip.data(), kAppTitle, length);
    trayIconData_.tip[length] = '\0';
    trayIconData_.callbackMessage = kTrayCallbackMessage;
    trayIconData_.flags = kAllFlags;
    trayIconData_.id = 1;
    added_ = true;
    addToShell();
}

// A new notification area knows no icon: it is added at once, whatever waits were running.
void TrayIcon::restore() {
    if (!added_) return;
    retry_.reset();
    addToShell();
}

// The callback form is declared anew after every Add: the shell forgets it with the icon. An Add
// that failed may still have put the icon up: the call waits only 4 s for a busy shell ("Handling
// Shell_NotifyIcon failure", the community notes on Microsoft's Shell_NotifyIcon page), so a
// change of the icon that holds tells it stands.
void TrayIcon::addToShell() {
    trayIconData_.flags = kAllFlags;
    trayIconData_.id = 1;
    const bool held = shell_.notifyIcon(platform::TrayMessage::Add, trayIconData_) ||
                      shell_.notifyIcon(platform::TrayMessage::Modify, trayIconData_);
    if (held) shell_.notifyIcon(platform::TrayMessage::SetVersion, trayIconData_);
    placed(held);
}

// Public reports of tray programs started at logon (PowerToys #268 and its fix #789, "we'll never
// receive TaskbarCreated if the first call failed"; PowerToys #35823 on Windows 11 24H2) show a
// refused Add followed by no TaskbarCreated: the icon is tried again until it stands.
void TrayIcon::placed(bool held) {
    if (held) {
        if (const std::uint32_t refusals = retry_.tries(); refusals > 0) {
            log_.write("Tray icon added after " + std::to_string(refusals) +
                       (refusals == 1 ? " refusal" : " refusals"));
        }
        retry_.reset();
    } else {
        if (retry_.tries() == 0) log_.write("Tray icon refused by the shell (first of a streak)");
        retry_.tried(timers_.tickCount());
    }
    standing_ = held;
}

void TrayIcon::returnFocus() {
    if (standing_) shell_.notifyIcon(platform::TrayMessage::SetFocus, trayIconData_);
}

void TrayIcon::show(platform::IconId icon) {
    forms_.setWindowIcon(trayIconData_.window, icon);
    trayIconData_.icon = icon;
    if (!standing_) {
        if (added_ && retry_.due(timers_.tickCount())) addToShell();
        return;
    }
    trayIconData_.flags = kIconFlags;
    trayIconData_.id = 1;
    // Each call may wait 4 s for a shell that does not answer: the add waits for the next try.
    if (!shell_.notifyIcon(platform::TrayMessage::Modify, trayIconData_)) placed(false);
}

void TrayIcon::remove() {
    if (!added_) return;
    added_ = false;
    standing_ = false;
    shell_.notifyIcon(platform::TrayMessage::Delete, trayIconData_);
}

}  // namespace qmx::app
