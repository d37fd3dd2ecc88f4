#pragma once

#include "midi/SysExProtocol.h"

#include <string>

namespace orvo
{

/** Writes `name` into the Program's name bytes, padded with spaces. False, changing nothing, unless
    the Program is 2,048 bytes with the signature and the name has at most 16 bytes, each 32..126. */
bool writeProgramName (UnpackedProgram& program, const std::string& name);

/** A rebuilt dump, or the reason there is none. */
struct RebuiltDump
{
    ByteVector message; // empty on failure
    std::string error;
    explicit operator bool() const { return ! message.empty(); }
};

/** Any valid Program dump (stored or edit buffer) as a stored Program dump for `bank` and `program`. */
RebuiltDump rebuildStoredProgramDump (const ByteVector& message, int bank, int program);

/** `edited` packed in the same form as `source` (the same bank and slot, or the edit buffer), when
    every changed bit is one the editor may write. */
RebuiltDump rebuildWithEdits (const ByteVector& source, const UnpackedProgram& edited);

/** A rename's text checked on every keystroke: the trimmed candidate is usable when it has 1 to 16
    characters 32..126 and differs from the current name. */
struct RenameCheck
{
    bool valid = false;
    std::string candidate; // empty when the text is not a Program name
    std::string message;   // the status line
};
RenameCheck validateRenameText (const std::string& text, const std::string& currentName);

/** A dump with its name replaced, in its own form (for renaming a file of Programs). */
RebuiltDump renameProgramDump (const ByteVector& message, const std::string& name);

} // namespace orvo
