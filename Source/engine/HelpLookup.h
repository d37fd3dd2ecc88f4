#pragma once

#include "model/ParameterHelp.h"

#include <string>
#include <string_view>

namespace orvo
{

/** The value family of the digital-effect control with that ParameterId; empty for none. */
std::string effectHelpFamily (std::string_view effectId);

/** The help for any key the editor selects or a tool targets, digital-effect keys included. */
const HelpEntry* helpFor (std::string_view key);

} // namespace orvo
