#pragma once

#include "platform/audio_endpoints.h"
#include "platform/forms.h"
#include "platform/input.h"
#include "platform/menus.h"
#include "platform/message_boxes.h"
#include "platform/mixer.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "platform/timers.h"
#include "platform/window_placement.h"

namespace qmx::platform {

// The operating-system services the program runs on, made by each platform's entry point.
struct Platform {
    Mixer& mixer;
    Processes& processes;
    Registry& registry;
    System& system;
    Shell& shell;
    Forms& forms;
    WindowPlacement& placement;
    Input& input;
    Timers& timers;
    Menus& menus;
    MessageBoxes& messageBoxes;
    Sound& sound;
    // The system's audio outputs, where the mixer acts on them (Windows Vista and later);
    // nothing on Windows XP.
    AudioEndpoints* outputs;
};

}  // namespace qmx::platform
