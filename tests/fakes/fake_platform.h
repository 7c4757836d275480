#pragma once

#include "common/event_log.h"
#include "fakes/call_log.h"
#include "fakes/fake_input.h"
#include "fakes/fake_log_file.h"
#include "fakes/fake_menus.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_mixer.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_sound.h"
#include "fakes/fake_system.h"
#include "fakes/fake_timers.h"
#include "fakes/fake_window_placement.h"
#include "fakes/fake_windows.h"
#include "platform/platform.h"

namespace qmx::fakes {

// Every simulated service, sharing one call log.
struct FakePlatform {
    CallLog log;
    FakeMixer mixer{log};
    FakeProcesses processes{log};
    FakeRegistry registry{log};
    FakeSystem system;
    FakeShell shell{log};
    FakeWindows windows{log, system.twipsX};
    FakeWindowPlacement placement{log, windows};
    FakeInput input{log, windows};
    FakeTimers timers{log, windows};
    FakeMenus menus{log, windows};
    FakeMessageBoxes messageBoxes{log};
    FakeSound sound{log};
    FakeLogFile logFile;
    EventLog eventLog{logFile};

    // These services as the program's platform, over `audio` as mixer device 0 and its `outputs`
    // (nothing for the legacy mixer).
    platform::Platform platformOver(platform::Mixer& audio, platform::AudioEndpoints* outputs) {
        return {audio, processes, registry, system,       shell, windows, placement,
                input, timers,    menus,    messageBoxes, sound, outputs};
    }
};

}  // namespace qmx::fakes
