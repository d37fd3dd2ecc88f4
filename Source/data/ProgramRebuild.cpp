#include "ProgramRebuild.h"

#include "ProgramLayout.h"

namespace orvo
{
namespace
{
constexpr std::size_t storedDumpLength = 2350;

bool printable (const std::string& s)
{
    for (unsigned char c : s)
        if (c < 32 || c > 126)
            return false;
    return true;
}

std::string trimSpaces (const std::string& s)
{
    const auto first = s.find_first_not_of (' ');
    if (first == std::string::npos)
        return {};
    return s.substr (first, s.find_last_not_of (' ') - first + 1);
}

bool isProgram (const UnpackedProgram& p)
{
    return p.size() == sysex::programUnpackedLength && hasProgramSignature (p);
}
} // namespace

bool writeProgramName (UnpackedProgram& program, const std::string& name)
{
    if (! isProgram (program) || name.size() > (size_t)programlayout::nameLength || ! printable (name))
        return false;
    for (int i = 0; i < programlayout::nameLength; ++i)
        program[(size_t)(programlayout::nameOffset + i)] = (std::uint8_t)(i < (int)name.size() ? name[(size_t)i] : ' ');
    return true;
}

RebuiltDump rebuildStoredProgramDump (const ByteVector& message, int bank, int program)
{
    if (bank < 0 || bank >= 128)
        return { {}, "The selected Bank number is outside the Orvo Program bank range." };
    if (program < 0 || program >= 128)
        return { {}, "The selected Program number is outside the Orvo Program range." };
    if (! classifyProgramDump (message).valid)
        return { {}, "The Program SysEx dump does not match the documented Orvo Program dump layout." };
    const auto unpacked = unpackProgramDump (message);
    if (! isProgram (unpacked))
        return { {}, "The Program SysEx payload could not be unpacked." };
    auto rebuilt = buildProgramDump (unpacked, sysex::opStoredProgram, bank, program);
    if (rebuilt.size() != storedDumpLength)
        return { {}, "The Program SysEx payload could not be rebuilt as an Orvo stored Program dump." };
    return { std::move (rebuilt), {} };
}

RebuiltDump rebuildWithEdits (const ByteVector& source, const UnpackedProgram& edited)
{
    const auto layout = classifyProgramDump (source);
    if (! layout.valid || ! isProgram (edited))
        return { {}, "The Program SysEx dump does not match the documented Orvo Program dump layout." };
    const auto original = unpackProgramDump (source);
    if (! isProgram (original))
        return { {}, "The Program SysEx payload could not be unpacked." };
    for (int i = 0; i < (int)original.size(); ++i)
        if (const auto changed = (std::uint8_t)(original[(size_t)i] ^ edited[(size_t)i]); changed != 0 && ! isWritableMask (i, changed))
            return { {}, "The edited Program changes bytes the Orvo keeps for itself (offset " + std::to_string (i) + ")." };
    auto rebuilt = layout.opcode == sysex::opStoredProgram
                       ? buildProgramDump (edited, sysex::opStoredProgram, layout.bank, layout.program)
                       : buildProgramDump (edited, sysex::opProgramEditBuffer, sysex::editBufferSubCode);
    if (rebuilt.empty())
        return { {}, "The Program SysEx payload could not be rebuilt as an Orvo stored Program dump." };
    return { std::move (rebuilt), {} };
}

RenameCheck validateRenameText (const std::string& text, const std::string& currentName)
{
    RenameCheck check;
    const auto candidate = trimSpaces (text);
    if (! candidate.empty() && candidate.size() <= (size_t)programlayout::nameLength && printable (candidate))
        check.candidate = candidate;
    if (text.empty())
        check.message = "Enter 1 to 16 printable characters.";
    else if (check.candidate.empty())
        check.message = "That name is not valid for an Orvo Program.";
    else if (check.candidate != currentName)
    {
        check.valid = true;
        check.message = "Name is valid.";
    }
    else
        check.message = "Enter a name different from the current name.";
    return check;
}

RebuiltDump renameProgramDump (const ByteVector& message, const std::string& name)
{
    if (! classifyProgramDump (message).valid)
        return { {}, "The Program SysEx dump does not match the documented Orvo Program dump layout." };
    auto unpacked = unpackProgramDump (message);
    if (! isProgram (unpacked))
        return { {}, "The Program SysEx payload could not be unpacked." };
    if (! writeProgramName (unpacked, name))
        return { {}, "That name is not valid for an Orvo Program." };
    return rebuildWithEdits (message, unpacked);
}

} // namespace orvo
