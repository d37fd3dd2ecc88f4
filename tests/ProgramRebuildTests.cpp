#include "data/ProgramLayout.h"
#include "data/ProgramRebuild.h"
#include "instrument/FactoryPrograms.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
UnpackedProgram program() { return factory::program (0, 3).unpacked; }
ByteVector editBufferDump() { return buildProgramDump (program(), sysex::opProgramEditBuffer, sysex::editBufferSubCode); }
} // namespace

TEST (ProgramName, IsWrittenPaddedAndRefusedWhenItCannotBeOne)
{
    auto p = program();
    ASSERT_TRUE (writeProgramName (p, "BRIGHT"));
    EXPECT_EQ (std::string (p.begin() + 2, p.begin() + 18), "BRIGHT          ");
    EXPECT_EQ (readProgramName (p), "BRIGHT");
    for (const std::string& bad : { std::string (17, 'A'), std::string ("TAB\tNAME"), std::string ("\x7f") })
    {
        auto q = p;
        EXPECT_FALSE (writeProgramName (q, bad)) << bad;
        EXPECT_EQ (q, p);
    }
    UnpackedProgram short_ (100, 0);
    EXPECT_FALSE (writeProgramName (short_, "X"));
}

TEST (ProgramRebuild, MakesStoredDumpsAndRefusesWithTheReason)
{
    const auto edit = editBufferDump();
    const auto stored = rebuildStoredProgramDump (edit, 0, 5);
    ASSERT_TRUE (stored) << stored.error;
    ASSERT_EQ (stored.message.size(), 2350u);
    EXPECT_EQ (ByteVector (stored.message.begin(), stored.message.begin() + 8), (ByteVector{ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x00, 0x00, 0x05 }));
    EXPECT_EQ (ByteVector (stored.message.begin() + 8, stored.message.end() - 1), ByteVector (edit.begin() + 7, edit.end() - 1));
    EXPECT_EQ (stored.message.back(), 0xF7);

    auto truncated = edit;
    truncated.erase (truncated.begin() + 100, truncated.begin() + 200);
    const struct
    {
        ByteVector message;
        int bank, slot;
        const char* error;
    } refused[] = {
        { edit, 128, 0, "The selected Bank number is outside the Orvo Program bank range." },
        { edit, 0, 128, "The selected Program number is outside the Orvo Program range." },
        { truncated, 0, 0, "The Program SysEx dump does not match the documented Orvo Program dump layout." },
    };
    for (const auto& r : refused)
        EXPECT_EQ (rebuildStoredProgramDump (r.message, r.bank, r.slot).error, r.error);

    // Only writable bits may change: the name may, the ASIC control bytes and reserved bits may not.
    const auto source = stored.message;
    auto renamed = program();
    ASSERT_TRUE (writeProgramName (renamed, "NEW NAME"));
    const auto ok = rebuildWithEdits (source, renamed);
    ASSERT_TRUE (ok) << ok.error;
    EXPECT_EQ (ByteVector (ok.message.begin(), ok.message.begin() + 8), ByteVector (source.begin(), source.begin() + 8));
    EXPECT_EQ (readProgramName (unpackProgramDump (ok.message)), "NEW NAME");
    EXPECT_EQ (rebuildWithEdits (edit, renamed).message.size(), edit.size()) << "an edit buffer stays an edit buffer";
    for (const auto& [offset, mask] : { std::pair<int, int>{ 18, 0x01 }, { 1748, 0x80 } })
    {
        auto forbidden = renamed;
        forbidden[(size_t)offset] ^= (std::uint8_t)mask;
        EXPECT_FALSE (rebuildWithEdits (source, forbidden)) << offset;
    }
}

TEST (ProgramRename, StatusLineFollowsTheText)
{
    const struct
    {
        const char* text;
        bool valid;
        const char* message;
    } cases[] = {
        { "", false, "Enter 1 to 16 printable characters." },
        { "   ", false, "That name is not valid for an Orvo Program." },
        { "TAB\tNAME", false, "That name is not valid for an Orvo Program." },
        { "SEVENTEEN LETTERS", false, "That name is not valid for an Orvo Program." },
        { "  Warm Pad 01 ", false, "Enter a name different from the current name." },
        { " Warm Pad 02", true, "Name is valid." },
    };
    for (const auto& c : cases)
    {
        const auto check = validateRenameText (c.text, "Warm Pad 01");
        EXPECT_EQ (check.valid, c.valid) << c.text;
        EXPECT_EQ (check.message, c.message) << c.text;
    }
    EXPECT_EQ (validateRenameText (" Warm Pad 02", "x").candidate, "Warm Pad 02");
}
