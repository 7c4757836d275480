#pragma once

#include "resources/form_definition.h"

namespace qmx::resources {

// The hidden tray host (Form2). Its controls are never seen, so none gets a window.
namespace tray_host {
enum Timer : int { TmrMute = 1 };
inline constexpr unsigned kMuteIntervalMs = 100;
}  // namespace tray_host

const FormDefinition& trayHostForm();

}  // namespace qmx::resources
