#include "app/application.h"

#include "app/run_facts.h"

namespace qmx::app {

// The tray host is built before the controller, the menu and the wheel, and keeps references to
// them; the controller in turn is handed the host's `txtform1signal`, the menu the host's test
// sound. Every part shows its messages through the window system that logs them.
Application::Application(platform::Platform& platform, EventLog& log)
    : log_(log),
      messages_(platform.windows, log),
      platform_{platform.mixer, platform.processes, platform.registry, platform.system,
                platform.shell, messages_,          platform.sound,    platform.outputs},
      tray_(platform_.shell, platform_.windows),
      termination_(platform_.windows, platform_.processes, tray_, log_),
      mixer_(platform_.mixer, termination_),
      os_(platform_.system),
      guard_(platform_.processes, platform_.windows, termination_, os_),
      settings_(platform_.registry, platform_.windows),
      styling_(platform_.windows, platform_.system),
      startup_(platform_.registry, platform_.processes, platform_.system, platform_.windows),
      shortcut_(platform_.windows, platform_.shell, settings_),
      programs_(platform_.shell, platform_.windows, os_),
      trayHost_(platform_, termination_, tray_, mixer_, os_, guard_, settings_, shortcut_,
                controller_, menu_, wheel_),
      controller_(platform_.windows, programs_, mixer_, settings_, styling_,
                  trayHost_.txtform1signal()),
      about_(platform_.windows, platform_.shell, mixer_),
      options_(platform_.windows, settings_, startup_, shortcut_),
      wheel_(platform_, tray_, mixer_),
      menu_(platform_, termination_, settings_, controller_, programs_, about_, options_,
            trayHost_.testSound()) {}

// The log's file is first touched once start-up is done (the tray icon stands by then), unless
// something is logged before: the run's facts head the first line either way.
void Application::start() {
    if (settings_.logWanted()) {
        log_.start(
            [this](EventLog& log) { writeRunFacts(log, platform_, mixer_, trayHost_.window()); });
    }
    trayHost_.initialize();
    log_.writeOpening();
}

}  // namespace qmx::app
