#pragma once

#include "resources/form_definition.h"

namespace qmx::resources {

// The hidden tray host (Form2). Its controls are never seen, so none gets a window: the text
// boxes through which the windows pass state, `txtform1signal` ("1" while the controller is
// loaded) and `TxtMuteVal` (the last mute value read), and the mute poll `tmrmute`.
namespace tray_host {
enum Control : int { TxtForm1Signal = 1, TxtMuteVal };
enum Timer : int { TmrMute = 1 };
inline constexpr unsigned kMuteIntervalMs = 100;
}  // namespace tray_host

const FormDefinition& trayHostForm();

}  // namespace qmx::resources
