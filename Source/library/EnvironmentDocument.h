#pragma once

#include "BankDocument.h"

namespace orvo
{

/** The Environment document of the whole librarian state: all five banks with their slots and the last
    selection, keys in writing order. */
juce::var buildEnvironmentDocument (const LibrarianState& state);

/** The JSON text of the Environment document, written straight from the state into `buffer`:
    character for character what toJsonText (buildEnvironmentDocument (state), allOnOneLine) gives,
    without building the document first. `buffer` keeps its capacity between calls, so the working
    environment, rewritten after every change, reuses one buffer. */
void writeEnvironmentText (const LibrarianState& state, std::string& buffer, bool allOnOneLine);

/** Applies an Environment object to `state`. Returns false, with `state` untouched, when the root is not
    an object whose "format" is exactly "OrvoExchange"; otherwise the whole librarian state is replaced
    by the document's. `programDumps` (when given) receives the number of Program dumps taken in. */
bool loadEnvironmentObject (LibrarianState& state, const juce::var& root, const LibrarianLog& log,
                            int* slotsApplied = nullptr, int* programDumps = nullptr);

/** "Could not load Environment file. The selected file is not an Orvo Editor Environment document: <path>\n" */
std::string environmentRefusedLine (const juce::File& file);

/** Reads and applies a ".orvox" to a fresh state, as Load Environment does, for reports such as
    `orvo-cli check`. */
DocumentLoadReport loadEnvironmentDocument (const juce::File& file);

} // namespace orvo
