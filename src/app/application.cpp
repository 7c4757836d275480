#include "app/application.h"

namespace qmx::app {

// The tray host is built before the controller, the menu and the wheel, and keeps references to
// them; the controller in turn is handed the host's `txtform1signal`, the menu the host's test
// sound.
Application::Application(platform::Platform& platform, EventLog& log)
    : log_(log),
      windowServices_{platform.forms, platform.placement, platform.timers},
      tray_(platform.shell, platform.forms),
      termination_(platform.messageBoxes, platform.processes, tray_),
      mixer_(platform.mixer, termination_),
      os_(platform.system),
      guard_(platform.processes, platform.messageBoxes, termination_, os_),
      settings_(platform.registry, platform.messageBoxes),
      styling_(platform.placement, platform.system),
      startup_(platform.registry, platform.processes, platform.system, platform.messageBoxes),
      shortcut_(platform.input, platform.messageBoxes, platform.shell, settings_),
      programs_(platform.shell, platform.messageBoxes, os_),
      trayHost_(platform, termination_, tray_, mixer_, os_, guard_, settings_, shortcut_,
                controller_, menu_, wheel_),
      controller_(windowServices_, platform.messageBoxes, programs_, mixer_, settings_, styling_,
                  trayHost_.txtform1signal()),
      about_(windowServices_, platform.shell, mixer_),
      options_(windowServices_, platform.messageBoxes, settings_, startup_, shortcut_),
      wheel_(platform.shell, platform.input, tray_, mixer_),
      menu_(platform, termination_, settings_, controller_, programs_, about_, options_,
            trayHost_.testSound()) {}

}  // namespace qmx::app
