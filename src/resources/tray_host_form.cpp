#include "resources/tray_host_form.h"

namespace qmx::resources {

namespace {
constexpr FormDefinition kForm{"Form2", FormKind::HiddenHost, 1350, 420, "", {}};
}

const FormDefinition& trayHostForm() {
    return kForm;
}

}  // namespace qmx::resources
