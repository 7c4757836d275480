#include "app/application.h"

namespace qmx::app {

// The tray host is built before the controller, the menu and the wheel, and keeps references to
// them; the controller in turn is handed the host's `txtform1signal`, the menu the host's test
// sound.
Application::Application(platform::Platform& platform, EventLog& log)
    : log_(log),
      tray_(platform.shell, platform.windows),
      termination_(platform.windows, platform.processes, tray_, platform.outputs),
      mixer_(platform.mixer, termination_),
      os_(platform.system),
      guard_(platform.processes, platform.windows, termination_, os_),
      settings_(platform.registry, platform.windows),
      styling_(platform.windows, platform.system),
      startup_(platform.registry, platform.processes, platform.system, platform.windows),
      shortcut_(platform.windows, platform.shell, settings_),
      programs_(platform.shell, platform.windows, os_),
      trayHost_(platform, termination_, tray_, mixer_, os_, guard_, settings_, shortcut_,
                controller_, menu_, wheel_),
      controller_(platform.windows, programs_, mixer_, settings_, styling_,
                  trayHost_.txtform1signal()),
      about_(platform.windows, platform.shell, mixer_),
      options_(platform.windows, settings_, startup_, shortcut_),
      wheel_(platform, tray_, mixer_),
      menu_(platform, termination_, settings_, controller_, programs_, about_, options_,
            trayHost_.testSound()) {}

}  // namespace qmx::app
