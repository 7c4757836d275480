#include "app/tray_icon.h"

#include <algorithm>
#include <cstring>

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

TrayIcon::TrayIcon(platform::Shell& shell, platform::Forms& forms) : shell_(shell), forms_(forms) {}

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
    addToShell();
    added_ = true;
}

void TrayIcon::restore() {
    if (!added_) return;
    trayIconData_.flags = kAllFlags;
    addToShell();
}

// The callback form is declared anew after every Add: the shell forgets it with the icon.
void TrayIcon::addToShell() {
    shell_.notifyIcon(platform::TrayMessage::Add, trayIconData_);
    shell_.notifyIcon(platform::TrayMessage::SetVersion, trayIconData_);
}

void TrayIcon::returnFocus() {
    if (added_) shell_.notifyIcon(platform::TrayMessage::SetFocus, trayIconData_);
}

void TrayIcon::show(platform::IconId icon) {
    forms_.setWindowIcon(trayIconData_.window, icon);
    trayIconData_.icon = icon;
    trayIconData_.flags = kIconFlags;
    trayIconData_.id = 1;
    shell_.notifyIcon(platform::TrayMessage::Modify, trayIconData_);
}

void TrayIcon::remove() {
    if (!added_) return;
    added_ = false;
    shell_.notifyIcon(platform::TrayMessage::Delete, trayIconData_);
}

}  // namespace qmx::app
