#pragma once

#include "resources/form_definition.h"

namespace qmx::resources {

// The Options dialog (Form4). Its controls stand in tab order in its definition.
namespace options {
enum Control : int { ChkStp = 1, Label1, ChkShadow, Label2, Command1, Label3, HotKey1 };
}

const FormDefinition& optionsForm();

}  // namespace qmx::resources
