#include "LibraryTestSupport.h"
#include "library/ProgramLibraryIndex.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
std::string programJson (const std::string& name, int bankNumber = -1, const char* type = "program")
{
    std::string json = "{\"type\": \"" + std::string (type) + "\", \"name\": \"" + name + "\"";
    if (bankNumber >= 0)
        json += ", \"bankNumber\": " + std::to_string (bankNumber);
    return json + "}";
}

std::string found (ProgramLibraryIndex& index, int bank, int slot, const std::string& name)
{
    const auto f = index.findProgramFile (bank, slot, name);
    return f ? f->getFileName().toStdString() : std::string ("(none)");
}
} // namespace

TEST (ProgramLibraryIndex, FindsASlotsDocumentByNameAndBank)
{
    TemporaryFolder tmp;
    const auto programs = tmp / "Programs";
    writeText (programs.getChildFile ("other.orvop"), programJson ("Big  Brass"));
    writeText (programs.getChildFile ("sub/deeper/Big-Brass.orvop"), programJson (" Big Brass "));
    writeText (programs.getChildFile ("wrongbank.orvop"), programJson ("Pad", 2));
    writeText (programs.getChildFile ("mix.orvop"), programJson ("Lead", -1, "mix"));
    writeText (programs.getChildFile ("broken.orvop"), "{\"type\":");
    writeText (programs.getChildFile ("note.txt"), programJson ("Lead"));

    ProgramLibraryIndex index ([&] { return programs; });
    const std::vector<std::tuple<int, std::string, std::string>> cases = {
        { 0, "Big Brass", "Big-Brass.orvop" }, // the default stem wins, however deep
        { 1, "Pad", "(none)" },
        { 2, "Pad", "wrongbank.orvop" },
        { 0, "Lead", "(none)" },
        { 0, "", "(none)" },
    };
    for (const auto& [bank, name, expected] : cases)
        EXPECT_EQ (found (index, bank, 0, name), expected) << name << " in " << bank;
    EXPECT_EQ (index.documentCount(), 5u);
}

TEST (ProgramLibraryIndex, NoticesAddedChangedAndRemovedFilesWithoutReadingTheRest)
{
    TemporaryFolder tmp;
    const auto programs = tmp / "Programs";
    for (int i = 0; i < 20; ++i)
        writeText (programs.getChildFile ("p" + juce::String (i) + ".orvop"),
                   programJson ("Name " + std::to_string (i)));
    // Old enough that the index trusts their times from the first look on.
    for (const auto& f : programs.findChildFiles (juce::File::findFilesAndDirectories, true))
        f.setLastModificationTime (juce::Time::getCurrentTime() - juce::RelativeTime::minutes (5));
    programs.setLastModificationTime (juce::Time::getCurrentTime() - juce::RelativeTime::minutes (5));

    ProgramLibraryIndex index ([&] { return programs; });
    index.refresh();
    EXPECT_EQ (index.parsedByLastRefresh(), 20);
    index.refresh();
    EXPECT_EQ (index.parsedByLastRefresh(), 0);
    EXPECT_EQ (found (index, 0, 0, "Name 3"), "p3.orvop");

    writeText (programs.getChildFile ("added.orvop"), programJson ("Fresh"));
    EXPECT_EQ (found (index, 0, 0, "Fresh"), "added.orvop");
    EXPECT_LT (index.parsedByLastRefresh(), 20);

    writeText (programs.getChildFile ("p3.orvop"), programJson ("Renamed"));
    index.fullRefresh();
    EXPECT_EQ (found (index, 0, 0, "Renamed"), "p3.orvop");
    EXPECT_EQ (found (index, 0, 0, "Name 3"), "(none)");

    programs.getChildFile ("p4.orvop").deleteFile();
    EXPECT_EQ (found (index, 0, 0, "Name 4"), "(none)");
    EXPECT_EQ (index.documentCount(), 20u);

    programs.deleteRecursively();
    EXPECT_EQ (found (index, 0, 0, "Name 5"), "(none)");
    EXPECT_EQ (index.documentCount(), 0u);
}

TEST (ProgramLibraryIndex, ReadsDocumentsOfEveryShapeTheWayAFullParseWould)
{
    TemporaryFolder tmp;
    const auto programs = tmp / "Programs";
    std::string longList = "[";
    for (int i = 0; i < 400; ++i)
        longList += std::string (i > 0 ? "," : "") + R"({"id": "x.y", "rawValue": 1, "note": "a \"quoted\" ] } text"})";
    longList += "]";
    // The name only after 20 KB of nested arrays, objects and strings with brackets in them.
    writeText (programs.getChildFile ("late.orvop"),
               R"({"parameters": )" + longList + R"(, "type": "program", "name": "Late Name", "bankNumber": 1})");
    // Escapes in the name, spacing and a stored normalised name that wins over the name.
    writeText (programs.getChildFile ("escaped.orvop"),
               "{ \"type\" : \"program\" ,\n\t\"name\":\"ignored\",\"normalizedName\":\"Caf\\u00e9 \\\"Keys\\\"\" }");
    // A head that reads well over a body that does not: a full load would refuse it, so the lookup does too.
    writeText (
        programs.getChildFile ("Damaged.orvop"),
        R"({"type": "program", "name": "Damaged", "bankNumber": 0, "normalizedName": "Damaged", "parameters": )" +
            longList.substr (0, 6000));
    // A later duplicate key wins, as in a full parse.
    writeText (programs.getChildFile ("dup.orvop"), R"({"type": "mix", "name": "Dup", "type": "program"})");
    writeText (programs.getChildFile ("array.orvop"), R"(["type", "program"])");
    // A character beyond the Basic Plane, written as JUCE writes it: an escaped surrogate pair.
    writeText (programs.getChildFile ("emoji.orvop"), R"({"type": "program", "name": "Keys \uD83C\uDFB9"})");

    ProgramLibraryIndex index ([&] { return programs; });
    EXPECT_EQ (found (index, 1, 0, "Late Name"), "late.orvop");
    EXPECT_EQ (found (index, 0, 0, "Late Name"), "(none)") << "its bank number was read after the list";
    EXPECT_EQ (found (index, 0, 0, "Caf\xc3\xa9 \"Keys\""), "escaped.orvop");
    EXPECT_EQ (found (index, 0, 0, "ignored"), "(none)");
    EXPECT_EQ (found (index, 0, 3, "Damaged"), "(none)");
    EXPECT_EQ (found (index, 0, 0, "Dup"), "dup.orvop");
    EXPECT_EQ (found (index, 0, 0, "Keys \xf0\x9f\x8e\xb9"), "emoji.orvop");
    EXPECT_EQ (index.documentCount(), 6u);
}
