#include "app/application.h"

namespace qmx::app {

// The tray host is built before the controller and keeps a reference to it; the controller in
// turn is handed the host's loaded-signal box.
Application::Application(platform::Platform& platform)
    : tray_(platform.shell, platform.windows),
      termination_(platform.windows, platform.processes, tray_),
      mixer_(platform.mixer, termination_),
      os_(platform.system),
      guard_(platform.processes, platform.windows, termination_, os_),
      settings_(platform.registry, platform.windows),
      styling_(platform.windows, platform.system),
      startup_(platform.registry, platform.processes, platform.windows),
      programs_(platform.shell, platform.windows, os_),
      trayHost_(platform, termination_, tray_, mixer_, os_, guard_, settings_, controller_,
                programs_, about_, options_),
      controller_(platform.windows, platform.system, programs_, mixer_, settings_, styling_,
                  trayHost_.txtform1signal()),
      about_(platform.windows, platform.shell, mixer_),
      options_(platform.windows, settings_, startup_) {}

}  // namespace qmx::app
