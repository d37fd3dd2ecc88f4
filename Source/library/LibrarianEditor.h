#pragma once

#include "ProgramDocument.h"
#include "model/ParameterCatalogue.h"

#include <array>
#include <bitset>
#include <string>
#include <vector>

namespace orvo
{

/** What the librarian needs of the editor: its values to save, a loaded Program to show, and whether
    there is an instrument to send to. The editor implements it; the librarian sees no more of it. */
class LibrarianEditor
{
public:
    static constexpr int numRows = ParameterCatalogue::numRows;
    virtual ~LibrarianEditor() = default;

    virtual int value (int row) const = 0;
    /** A value the control must show as the document holds it (clamped only). */
    virtual void setValue (int row, int raw) = 0;
    /** A decoded Program: every defined row takes its value as it is, nothing is sent back. */
    virtual void applyProgramValues (const std::array<int, numRows>& raw, const std::bitset<numRows>& defined) = 0;
    virtual bool hasOutput() const = 0;
    /** The Program shown was saved or replaced. */
    virtual void clearEdited() = 0;
    /** The selected slot's Program is not known: the pages show another Program's values until it is read. */
    virtual void markProgramUnread (const std::string& slotLabel) = 0;

    /** What a document keeps besides the catalogue rows (the effect and the modulation routes), as
        "parameters" entries after the rows, so that a saved Program brings back what was on screen. */
    virtual std::vector<ParameterEntry> extraParameters() const = 0;
    /** A "parameters" entry whose id is not a catalogue row: shown without sending; false when no
        control has that id. */
    virtual bool setControlByKey (const std::string& id, int raw) = 0;
};

} // namespace orvo
