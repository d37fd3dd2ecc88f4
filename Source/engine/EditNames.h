#pragma once

#include <string>

namespace orvo
{

/** What an edit of a catalogue row is called in UNDO and REDO: "FILTER 1 FREQUENCY". */
std::string editNameOfRow (int row);

} // namespace orvo
