#pragma once

#include "resources/form_definition.h"

namespace qmx::resources {

// The Options dialog (Form4), its controls in tab order.
namespace options {
enum Control : int { ChkStp = 1, Label1, ChkShadow, Label2, Command1 };
}

const FormDefinition& optionsForm();

}  // namespace qmx::resources
