#include "app/application.h"

#include "app/run_facts.h"

namespace qmx::app {

// The tray host is built before the controller, the menu and the wheel, and keeps references to
// them; the controller in turn is handed the host's `txtform1signal`, the menu the host's test
// sound. Every part shows its messages through the message boxes that log them.
Application::Application(platform::Platform& platform, EventLog& log)
    : log_(log),
      messages_(platform.messageBoxes, log),
      platform_{platform.mixer,  platform.processes, platform.registry,  platform.system,
                platform.shell,  platform.forms,     platform.placement, platform.input,
                platform.timers, platform.menus,     messages_,          platform.sound,
                platform.outputs},
      windowServices_{platform_.forms, platform_.placement, platform_.timers},
      tray_(platform_.shell, platform_.forms, platform_.timers, log_),
      termination_(platform_.messageBoxes, platform_.processes, tray_, log_, platform_.outputs),
      mixer_(platform_.mixer, termination_),
      os_(platform_.system),
      guard_(platform_.processes, platform_.messageBoxes, termination_, os_),
      settings_(platform_.registry, platform_.messageBoxes),
      styling_(platform_.placement, platform_.system),
      startup_(platform_.registry, platform_.processes, platform_.system, platform_.messageBoxes),
      shortcut_(platform_.input, platform_.messageBoxes, platform_.shell, platform_.system,
                settings_, log_),
      programs_(platform_.shell, platform_.messageBoxes, os_),
      trayHost_(platform_, termination_, tray_, mixer_, os_, guard_, settings_, shortcut_,
                controller_, menu_, wheel_),
      controller_(windowServices_, platform_.messageBoxes, programs_, mixer_, settings_, styling_,
                  trayHost_.txtform1signal()),
      about_(windowServices_, platform_.shell, mixer_),
      options_(windowServices_, platform_.input, platform_.messageBoxes, settings_, startup_,
               shortcut_),
      wheel_(platform_.shell, platform_.input, tray_, mixer_),
      menu_(platform_, log_, termination_, settings_, controller_, programs_, about_, options_,
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
