#include "LibrarianTestSupport.h"
#include "library/ProgramDigests.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
std::string withoutCapturedAt (const std::string& text)
{
    juce::StringArray lines;
    lines.addLines (juce::String (juce::CharPointer_UTF8 (text.c_str())));
    for (int i = lines.size(); --i >= 0;)
        if (lines[i].contains ("\"capturedAt\""))
            lines.remove (i);
    return lines.joinIntoString ("\n").toStdString();
}

juce::var slotsOf (const juce::File& bankFile)
{
    return juce::JSON::parse (bankFile.loadFileAsString())["slots"];
}
} // namespace

TEST (BankDocument, WritesTheDocumentAndEachKindOfSlotEntryWithKeysInOrder)
{
    LibrarianState state;
    fillBank (state, 0, "Lead");
    fillBank (state, 3, "Mix");
    const auto doc = buildBankDocument (state, 0, juce::Time (2'000'000'000'000));

    EXPECT_EQ (
        keysOf (doc),
        words ("schema type extension name displayName bank bankId normalizedName bankNumber capturedAt notes slots"));
    EXPECT_EQ (doc["schema"].toString(), "orvo.bank.v1");
    EXPECT_EQ (doc["type"].toString(), "program-bank");
    EXPECT_EQ (doc["bank"].toString(), "USER");
    EXPECT_EQ (doc["displayName"].toString(), "Lead Bank");
    EXPECT_EQ (doc["capturedAt"].toString(), juce::Time (2'000'000'000'000).toISO8601 (true));
    ASSERT_EQ (doc["slots"].size(), 128);

    const auto plain = words ("index type name normalizedName tags notes");
    const auto full =
        words ("index type name normalizedName tags notes source wedgePreset parameters rawByteLength sysexBase64 "
               "rawSysExSha256 packedPayloadSha256 programPayloadSha256 nameNeutralPayloadSha256 controlPages");
    const auto mixFull = words ("index type name normalizedName tags notes wedgePreset parameters controlPages");
    const auto mixDoc = buildBankDocument (state, 3, juce::Time (0));
    EXPECT_EQ (mixDoc["type"].toString(), "mix-bank");

    struct Case
    {
        juce::var entry;
        std::vector<std::string> keys;
    };
    for (const auto& c : { Case{ doc["slots"][1], plain }, Case{ doc["slots"][3], full },
                           Case{ mixDoc["slots"][3], mixFull }, Case{ mixDoc["slots"][4], plain } })
        EXPECT_EQ (keysOf (c.entry), c.keys);

    const auto entry = doc["slots"][3];
    const auto& dump = state.slot (0, 3).programSysEx;
    EXPECT_EQ (entry["source"].toString(), "cached-program-sysex");
    EXPECT_EQ ((int)entry["rawByteLength"], (int)dump.size());
    EXPECT_EQ (entry["sysexBase64"].toString().toStdString(), base64Of (dump));
    EXPECT_EQ (entry["programPayloadSha256"].toString().toStdString(),
               computeProgramDigests (dump).programPayloadSha256);
    EXPECT_EQ (entry["type"].toString(), "program");
    EXPECT_EQ (mixDoc["slots"][3]["type"].toString(), "mix");
}

TEST (BankDocument, ABankSavedLoadedAndSavedAgainIsTheSameApartFromItsTime)
{
    LibrarianFixture a;
    fillBank (a.state, 1, "Pad");
    a.state.names.setName (1, 5, "Big   Brass");
    a.state.selectedBank = 1;
    const auto first = a.banksFolder().getChildFile ("first.orvob");
    ASSERT_TRUE (a.flows.saveBankTo (first));
    EXPECT_TRUE (a.logged ("Saved Bank file: " + pathOf (first) + "\n"));

    // Into the same bank of another editor: the whole document comes back.
    LibrarianFixture b;
    b.state.selectedBank = 1;
    b.loadBank (first);
    b.time.advance (5000.0);
    const auto second = b.banksFolder().getChildFile ("second.orvob");
    ASSERT_TRUE (b.flows.saveBankTo (second));
    EXPECT_TRUE (withoutCapturedAt (readText (first)) == withoutCapturedAt (readText (second)));
    EXPECT_NE (readText (first), readText (second));      // the times differ
    EXPECT_EQ (b.state.names.name (1, 5), "Big   Brass"); // inner spaces kept; normalised only in its own key

    // Into another Program bank: every slot entry comes back the same.
    LibrarianFixture c;
    c.state.selectedBank = 2;
    c.loadBank (first);
    const auto third = c.banksFolder().getChildFile ("third.orvob");
    ASSERT_TRUE (c.flows.saveBankTo (third));
    EXPECT_TRUE (juce::JSON::toString (slotsOf (first)) == juce::JSON::toString (slotsOf (third)));
    EXPECT_EQ (c.state.bankDisplayName (2), "Pad Bank");
}

TEST (BankDocument, TheLoadCheckRefusesAnythingButAProgramOrMixBankWithASlotArray)
{
    const std::pair<const char*, bool> cases[] = {
        { R"({"type":"program-bank","slots":[]})", true },
        { R"({"kind":"program-bank","slots":[]})", true }, // no "type": "kind" decides
        { R"({"type":"program-bank","slots":{}})", false },
        { R"({"type":"program-bank"})", false },
        { R"({"type":"Program-Bank","slots":[]})", false },
        { R"({"type":"bank","kind":"program-bank","slots":[]})", false }, // "type" present wins over "kind"
        { "", false },
    };
    for (const auto& [text, accepted] : cases)
    {
        LibrarianFixture f;
        f.state.names.setName (0, 0, "Kept");
        const auto file = f.bankFile ("case.orvob", text);
        f.loadBank (file);
        const auto refused =
            "Could not load Bank file. The selected file is not an Orvo Editor Bank document: " + pathOf (file) + "\n";
        EXPECT_EQ (f.logged (refused), !accepted) << text;
        EXPECT_EQ (f.prompts.shown.size(), accepted ? 1u : 0u) << text;
        if (!accepted)
        {
            EXPECT_EQ (f.state.names.name (0, 0), "Kept") << text;
        }

        const auto report = loadBankDocument (file);
        EXPECT_EQ (report.ok, accepted) << text;
        EXPECT_EQ (report.message, accepted ? std::string() : refused.substr (0, refused.size() - 1));
    }
    const auto missing = loadBankDocument (juce::File ("/nonexistent/folder/x.orvob"));
    EXPECT_FALSE (missing.ok);
}

TEST (BankDocument, OnlyAProgramBankWithAnOpenOutputAndDumpsOffersTheTransfer)
{
    LibrarianState source;
    fillBank (source, 0, "Src");
    fillBank (source, 3, "Mixes");

    struct Case
    {
        int bank;
        bool midiOpen;
        bool withDumps;
        const char* expectedTitle; // nullptr: no question at all
    };
    const Case cases[] = {
        { 0, true, true, "Transfer Loaded Bank" },
        { 0, false, true, "Load Bank" },
        { 3, true, false, "Load Bank" },
        { 0, true, false, nullptr }, // loaded at once, nothing to transfer
    };
    for (const auto& c : cases)
    {
        LibrarianFixture f;
        f.midiOpen = c.midiOpen;
        auto src = source;
        if (!c.withDumps)
            for (auto& s : src.banks[0].slots)
                s.programSysEx.clear();
        const auto file = f.bankFile ("bank.orvob", src, c.bank);
        f.loadBank (file, 3); // CANCEL in the transfer question, nothing in the other

        if (c.expectedTitle == nullptr)
        {
            EXPECT_TRUE (f.prompts.shown.empty());
            EXPECT_EQ (f.state.names.name (0, 1), "Src 1");
            continue;
        }
        ASSERT_EQ (f.prompts.shown.size(), 1u);
        EXPECT_EQ (f.prompts.shown[0].title, c.expectedTitle);
        if (std::string (c.expectedTitle) == "Transfer Loaded Bank")
        {
            EXPECT_EQ (f.prompts.shown[0].message, "Bank File Loaded.  Would you like to transfer this bank to the "
                                                   "Kestrine?  (Loading may take a couple of minutes).");
            EXPECT_EQ (f.prompts.shown[0].buttons,
                       (std::vector<std::string>{ "USER", "PRESET 1", "PRESET 2", "CANCEL" }));
            EXPECT_TRUE (f.logged ("Loaded Bank transfer to Orvo skipped.\n"));
            EXPECT_EQ (f.state.names.name (0, 1), "Src 1"); // the bank was loaded before the question
        }
        else
        {
            EXPECT_EQ (f.prompts.shown[0].message,
                       "Bank File Loaded.  Would you like to load this bank locally for editing?");
            EXPECT_EQ (f.prompts.shown[0].buttons, (std::vector<std::string>{ "LOAD", "CANCEL" }));
            EXPECT_EQ (f.state.names.name (c.bank, 1), ""); // answered with something other than LOAD
        }
    }
}

TEST (BankDocument, ATransferChoiceNamesItsTargetAndHandsOverTheDumps)
{
    LibrarianState source;
    fillBank (source, 0, "Src");
    const char* const targets[] = { "USER (Orvo bank byte 0)", "PRESET 1 (Orvo bank byte 1)",
                                    "PRESET 2 (Orvo bank byte 2)" };
    for (int choice = 0; choice < 3; ++choice)
    {
        LibrarianFixture f;
        f.midiOpen = true;
        const auto file = f.bankFile ("bank.orvob", source, 0);
        int transferredTo = -1;
        std::vector<std::pair<int, ByteVector>> sent;
        if (choice != 2)
            f.flows.startBankTransfer = [&] (int bank, const std::vector<std::pair<int, ByteVector>>& dumps)
            {
                transferredTo = bank;
                sent = dumps;
            };
        f.loadBank (file, choice);
        EXPECT_TRUE (f.logged (std::string ("Loaded Bank transfer to Orvo: ") + targets[choice] + "\n"));
        EXPECT_TRUE (f.flows.pendingTransferDumps().empty());
        if (choice == 2)
        {
            EXPECT_TRUE (
                f.logged ("Bank transfer to the Orvo is not available yet; the bank was loaded locally only.\n"));
            continue;
        }
        EXPECT_EQ (transferredTo, choice);
        ASSERT_EQ (sent.size(), 43u); // every third slot of 128
        for (const auto& [slot, dump] : sent)
            EXPECT_EQ (dump, source.slot (0, slot).programSysEx) << slot;
    }
}

TEST (BankDocument, LoadingLocallyPicksTheTargetBankAndReportsTheDumps)
{
    struct Case
    {
        const char* kind;
        int selected;
        const char* bankNumber; // JSON text or nullptr
        int expected;
    };
    const Case cases[] = {
        { "program-bank", 2, "1", 2 }, { "program-bank", 4, "1", 1 }, { "program-bank", 4, "3", 0 },
        { "mix-bank", 0, "4", 4 },     { "mix-bank", 1, "\"4\"", 3 }, { "mix-bank", 4, "0", 4 },
    };
    for (const auto& c : cases)
    {
        LibrarianFixture f;
        f.state.selectedBank = c.selected;
        std::string text = std::string ("{\"type\":\"") + c.kind + "\",";
        if (c.bankNumber != nullptr)
            text += std::string ("\"bankNumber\":") + c.bankNumber + ",";
        text += R"("slots":[{"index":7,"name":" Seven ","tags":"Bass; LEAD;sparkle"}]})";
        const auto file = f.bankFile ("My Bank.orvob", text);
        f.loadBank (file);
        EXPECT_EQ (f.state.names.name (c.expected, 7), "Seven") << c.kind << ' ' << c.selected;
        EXPECT_EQ (f.state.slot (c.expected, 7).tags, (std::vector<std::string>{ "bass", "lead" }));
        EXPECT_EQ (f.state.bankDisplayName (c.expected), "My Bank"); // no name in the document: the file's
        EXPECT_EQ (f.state.banks[(size_t)c.expected].documentFile, std::optional<juce::File> (file));
        EXPECT_TRUE (
            f.logged ("Loaded Bank file into " + f.state.bankLabel (c.expected) + ": " + pathOf (file) + "\n"));
    }

    LibrarianState source;
    fillBank (source, 0, "Src");
    LibrarianFixture f;
    const auto file = f.bankFile ("dumps.orvob", source, 0);
    f.loadBank (file);
    EXPECT_TRUE (f.logged ("Loaded Bank file into USER: " + pathOf (file) + " (43 cached Program dumps)\n"));
    // The load becomes the working state on disk.
    LibrarianState reloaded;
    ASSERT_TRUE (loadEnvironmentObject (reloaded, readJsonDocument (f.working.file()), {}));
    EXPECT_EQ (reloaded.names.name (0, 9), "Src 9");
    EXPECT_EQ (reloaded.slot (0, 9).programSysEx, source.slot (0, 9).programSysEx);

    const auto report = loadBankDocument (file);
    EXPECT_TRUE (report.ok);
    EXPECT_EQ (report.slots, 128);
    EXPECT_EQ (report.programDumps, 43);
}

TEST (BankDocument, SlotSysExComesFromTheEntryOrItsProgramFileAndBadDataKeepsTheNames)
{
    LibrarianFixture f;
    const auto dump4 = programDump (0, 4, 1), dump9 = programDump (0, 9, 2), dump12 = programDump (0, 12, 3);
    ByteVector three;
    for (const auto* d : { &dump4, &dump9, &dump12 })
        three.insert (three.end(), d->begin(), d->end());

    const auto programs = f.library.folder (LibraryRoot::Folder::programs);
    writeText (programs.getChildFile ("In Programs.orvop"), R"({"type":"program","program":12,"sysexBase64":")" +
                                                                base64Of (three) +
                                                                R"(","parameters":[{"id":"a","rawValue":1}]})");
    f.bankFile ("Beside.orvop", R"({"type":"program","sysexBase64":")" + base64Of (dump4) + "\"}");
    // A document of the same name in Programs is found before the one beside the bank.
    f.bankFile ("In Programs.orvop", R"({"type":"program","sysexBase64":")" + base64Of (dump4) + "\"}");

    const std::string text = R"({"type":"program-bank","slots":[
        {"index":9,"name":"Multi","sysexBase64":")" +
                             base64Of (three) + R"("},
        {"index":1,"name":"Broken","tags":["pad"],"notes":"n","sysexBase64":"@@not base64@@"},
        {"index":2,"name":"NoDump","sysexBase64":")" +
                             base64Of ({ 0xF0, 0x01, 0xF7 }) + R"("},
        {"index":3,"name":"FromPrograms","programFile":"In Programs.orvop"},
        {"index":5,"name":"FromBeside","programFile":"Beside.orvop"},
        {"index":6,"name":"Missing","programFile":"Nowhere.orvop"},
        {"index":8,"name":"Escaping","programFile":"../Programs/In Programs.orvop"},
        {"index":200,"name":"Out of range"},
        "not an object"]})";
    const auto file = f.bankFile ("mixed.orvob", text);
    f.loadBank (file);

    EXPECT_EQ (f.state.slot (0, 9).programSysEx, dump9);
    EXPECT_TRUE (f.logged ("The selected .orvop file contains multiple SysEx messages; using one Program dump for "
                           "the loaded slot.\n"));
    EXPECT_TRUE (f.logged ("Could not decode Program SysEx data from the selected .orvop file.\n"));
    EXPECT_TRUE (f.logged ("The selected .orvop file does not contain an Orvo Program SysEx dump.\n"));
    EXPECT_EQ (f.state.names.name (0, 1), "Broken");
    EXPECT_EQ (f.state.slot (0, 1).tags, std::vector<std::string>{ "pad" });
    EXPECT_TRUE (f.state.slot (0, 1).programSysEx.empty());
    EXPECT_TRUE (f.state.slot (0, 2).programSysEx.empty());
    EXPECT_EQ (f.state.slot (0, 3).programSysEx, dump12); // the document's own "program" picks the dump
    EXPECT_EQ (f.state.slot (0, 3).parameters.size(), 1);
    EXPECT_EQ (f.state.slot (0, 5).programSysEx, dump4);
    EXPECT_TRUE (f.state.slot (0, 6).programSysEx.empty());
    EXPECT_EQ (f.state.names.name (0, 6), "Missing");
    EXPECT_TRUE (f.state.slot (0, 8).programSysEx.empty());
    EXPECT_TRUE (f.logged ("Loaded Bank file into USER: " + pathOf (file) + " (3 cached Program dumps)\n"));
}

#if ORVO_HAS_FILE_SIZE_LIMIT
TEST (BankDocument, AFailedSaveLeavesTheOldFileAndSaysSo)
{
    LibrarianFixture f;
    fillBank (f.state, 0, "New");
    const auto file = f.bankFile ("old.orvob", R"({"type":"program-bank","slots":[]})");
    const auto before = readText (file);
    {
        ScopedFileSizeLimit limit (4096); // the new document is far larger
        EXPECT_FALSE (f.flows.saveBankTo (file));
    }
    EXPECT_EQ (readText (file), before);
    EXPECT_TRUE (f.logged ("Could not save Bank file: " + pathOf (file) + "\n"));
    EXPECT_FALSE (f.state.banks[0].documentFile.has_value());
    EXPECT_TRUE (loadBankDocument (file).ok);
}
#endif

TEST (BankDocument, SaveBankProposesTheBankNameInTheBanksFolder)
{
    LibrarianFixture f;
    f.state.selectedBank = 4;
    f.state.names.setBankDisplayName (4, "Live Set #1");
    const auto chosen = f.banksFolder().getChildFile ("chosen.orvob");
    f.dialogs.answers = { pathOf (chosen) };
    // An unread bank is named for what it is before anything is written: CANCEL, then SAVE BANK AS IT IS.
    f.prompts.answers = { 1, 0 };
    f.flows.saveBank();
    EXPECT_TRUE (f.dialogs.titles.empty());
    EXPECT_TRUE (f.logged ("Save Bank cancelled: slots of the bank have not been read from the Orvo.\n"));
    f.state.names.setName (4, 9, "Read");
    f.flows.saveBank();
    ASSERT_EQ (f.prompts.shown.size(), 2u);
    EXPECT_EQ (f.prompts.shown[1].message.substr (0, 40), "127 of 128 slots of Live Set #1 have not");
    ASSERT_EQ (f.dialogs.titles, std::vector<std::string>{ "Save Bank" });
    const auto doc = readJsonDocument (chosen);
    EXPECT_EQ (doc["type"].toString(), "mix-bank");
    EXPECT_EQ ((int)doc["bankNumber"], 4);
    EXPECT_EQ (doc["bank"].toString(), "MIX (PRESET)");
    EXPECT_EQ (f.state.banks[4].documentFile, std::optional<juce::File> (chosen));

    f.dialogs.answers = { std::nullopt };
    f.flows.loadBank();
    EXPECT_EQ (f.dialogs.titles.back(), "Load Bank");
    EXPECT_EQ (f.prompts.shown.size(), 2u);
}

TEST (BankDocument, WrongTypesInsideSlotEntriesAreReadAsAbsent)
{
    struct Case
    {
        const char* entry;
        int appliedSlot; // -1: the entry is passed over
    };
    const Case cases[] = {
        { R"({"index":"3","name":"text index"})", -1 },
        { R"({"index":3.5,"name":"fraction"})", -1 },
        { R"({"index":128})", -1 },
        { R"({"index":4,"name":7,"notes":[],"tags":5,"parameters":"x","controlPages":[],"wedgePreset":"s",
              "sysexBase64":12,"programFile":{"a":1}})",
          4 },
        { R"({"index":4.0,"name":"whole number","parameters":[],"tags":[1,"LEAD",null]})", 4 },
    };
    for (const auto& c : cases)
    {
        LibrarianFixture f;
        fillBank (f.state, 0, "Old");
        const auto file = f.bankFile (
            "types.orvob", std::string (R"({"type":"program-bank","name":5,"notes":{},"slots":[)") + c.entry + "]}");
        f.loadBank (file);
        EXPECT_EQ (f.state.bankDisplayName (0), "types") << c.entry;
        EXPECT_EQ (f.state.banks[0].notes, "") << c.entry;
        if (c.appliedSlot < 0)
        {
            EXPECT_EQ (f.state.names.name (0, 3), "Old 3") << c.entry;
            EXPECT_EQ (f.state.names.name (0, 4), "Old 4") << c.entry;
            continue;
        }
        const auto& s = f.state.slot (0, c.appliedSlot);
        const auto expectedName = juce::String (c.entry).contains ("whole number") ? "whole number" : "";
        EXPECT_EQ (f.state.names.name (0, c.appliedSlot), expectedName) << c.entry;
        EXPECT_EQ (s.notes, "") << c.entry;
        EXPECT_TRUE (s.parameters.isVoid()) << c.entry;
        EXPECT_TRUE (s.toolData.isVoid()) << c.entry;
        EXPECT_TRUE (s.wedgePreset.isVoid()) << c.entry;
        EXPECT_TRUE (s.programSysEx.empty()) << c.entry;
        EXPECT_EQ (s.tags, juce::String (c.entry).contains ("LEAD") ? std::vector<std::string>{ "lead" }
                                                                    : std::vector<std::string>{})
            << c.entry;
    }
}
