#include "EngineFixture.h"
#include "LibrarianTestSupport.h"
#include "engine/HeadlessEditor.h"
#include "engine/LibrarianEditorLink.h"
#include "library/ProgramMixFlows.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
/** File dialogs that remember what they were opened with and answer from a script. */
struct RecordingDialogs final : FileDialogs
{
    struct Opened
    {
        std::string title, initialPath, pattern;
        std::string text() const { return title + " | " + initialPath + " | " + pattern; }
    };
    std::vector<Opened> opened;
    std::deque<std::optional<std::string>> answers;

    void chooseFileToSave (const std::string& t, const std::string& p, const std::string& pat, Result r) override
    {
        answer ({ t, p, pat }, r);
    }
    void chooseFileToOpen (const std::string& t, const std::string& p, const std::string& pat, Result r) override
    {
        answer ({ t, p, pat }, r);
    }
    void chooseFolder (const std::string& t, const std::string& p, Result r) override { answer ({ t, p, {} }, r); }

private:
    void answer (Opened o, Result& r)
    {
        opened.push_back (std::move (o));
        std::optional<std::string> a;
        if (!answers.empty())
        {
            a = answers.front();
            answers.pop_front();
        }
        r (a);
    }
};

MixPayload mixPayload (int seed)
{
    MixPayload p (sysex::mixUnpackedLength);
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = (std::uint8_t) ((i * 3 + (size_t)seed) & 0xFF);
    p[0] = 0xB6;
    p[1] = 0x0A;
    return p;
}

juce::File writeJson (const juce::File& file, const juce::var& root)
{
    return writeText (file, juce::JSON::toString (root).toStdString());
}

juce::var entries (std::initializer_list<std::pair<const char*, int>> values)
{
    juce::Array<juce::var> list;
    for (const auto& [id, raw] : values)
        list.add (jsonObject ({ { "id", id }, { "rawValue", raw }, { "page", "FILTERS" }, { "section", "FILTER" } }));
    return juce::var (list);
}

const std::string withPayloadLine = "The .orvom file includes the complete 1,024-byte Orvo Mix payload.\n";
const std::string snapshotLine = "The .orvom file is an editor snapshot; no current Orvo Mix payload was available.\n";
const std::string localOnlyLine =
    "Program transfer to the Orvo is not available yet; the Program was loaded locally only.\n";

/** A Mix document carrying mixPayload (5), with the three keys a load checks first as given. */
juce::var mixDocument (const char* type, const char* extension, int declared)
{
    const auto payload = mixPayload (5);
    return jsonObject ({ { "type", type },
                         { "extension", extension },
                         { "name", "Stage" },
                         { "notes", "three keyboards" },
                         { "mixPayloadEncoding", "orvo-unpacked-8bit-base64" },
                         { "mixPayloadByteLength", declared },
                         { "mixPayloadBase64", juce::Base64::toBase64 (payload.data(), payload.size()) } });
}

ByteVector decodeBase64 (const juce::var& text)
{
    juce::MemoryOutputStream out;
    juce::Base64::convertFromBase64 (out, text.toString());
    const auto* d = static_cast<const std::uint8_t*> (out.getData());
    return ByteVector (d, d + out.getDataSize());
}

int row (const char* id)
{
    return *ParameterCatalogue::findById (id);
}

/** The editor's librarian as the editor wires it: an engine in virtual time, the library in a
    temporary folder, the working environment, and the flows with their hooks recorded. */
struct FlowsRig
{
    TemporaryFolder temp;
    std::vector<std::string> log;
    LibrarianLog logFn = [this] (const std::string& line) { log.push_back (line); };
    EditorSettingsStore store{ temp / "Settings" };
    LibraryRoot library{ store, logFn };
    VirtualTime time;
    ScriptedPrompts prompts;
    RecordingDialogs dialogs;
    StringClipboard clipboard;
    EditorEngine engine{ { time, time, prompts, dialogs, clipboard } };
    LibrarianState state;
    WorkingEnvironment working{ state, library, time, logFn };
    EffectsController effects{ engine };
    LibrarianEditorLink editor{ engine, effects };
    ProgramMixFlows flows{ editor, state, library, working, dialogs, prompts, time, logFn };

    bool midiOpen = false;
    int mixReads = 0;
    int refreshes = 0;
    CachedMixPayload mixCache;
    struct ShownMix
    {
        MixPayload payload;
        int bank, slot;
        std::string title;
    };
    std::vector<ShownMix> shownMixes;

    FlowsRig()
    {
        flows.midiOutputOpen = [this] { return midiOpen; };
        flows.startMixRead = [this] { ++mixReads; };
        flows.cachedMixPayload = [this]() -> const CachedMixPayload& { return mixCache; };
        flows.showMixPayload = [this] (const MixPayload& p, int bank, int slot, const std::string& title)
        {
            shownMixes.push_back ({ p, bank, slot, title });
            return true;
        };
        flows.refreshViews = [this] { ++refreshes; };
        working.refreshCurrentSnapshot = [this] { flows.refreshCurrentSnapshot(); };
    }

    juce::File programs() const { return library.folder (LibraryRoot::Folder::programs); }
    /** Every row, then the effect's and the routes' entries. */
    int documentEntries() const { return ParameterCatalogue::numRows + (int)effects.documentEntries().size(); }
    juce::File mixes() const { return library.folder (LibraryRoot::Folder::mixes); }
    std::string path (const juce::File& f) const { return f.getFullPathName().toStdString(); }
    bool logged (const std::string& line) const { return std::find (log.begin(), log.end(), line) != log.end(); }
    void select (int bank, int slot, const std::string& name)
    {
        state.names.setName (bank, slot, name);
        flows.selectionChanged (bank, slot);
    }
};

struct ProgramMixFlowsTest : ::testing::Test, FlowsRig
{
};
} // namespace

//==============================================================================
TEST_F (ProgramMixFlowsTest, ASlotsDumpIsItsOwnThenTheLastBankReadsThenTheCaptureFiles)
{
    const auto own = programDump (1, 5, 1), fromRead = programDump (1, 5, 2), onDisk = programDump (1, 5, 3);
    EXPECT_FALSE (flows.cachedProgramSysEx (1, 5));
    const auto capture = library.latestProgramCaptureFile (1, 5);
    ASSERT_TRUE (capture.getParentDirectory().createDirectory());
    ASSERT_TRUE (capture.replaceWithData (onDisk.data(), onDisk.size()));
    EXPECT_EQ (flows.cachedProgramSysEx (1, 5), onDisk);

    state.lastBankRead = { 2, std::vector<ByteVector> (128, fromRead) }; // another bank's read does not answer
    EXPECT_EQ (flows.cachedProgramSysEx (1, 5), onDisk);
    state.lastBankRead.bank = 1;
    EXPECT_EQ (flows.cachedProgramSysEx (1, 5), fromRead);
    state.slot (1, 5).programSysEx = own;
    EXPECT_EQ (flows.cachedProgramSysEx (1, 5), own);

    // An empty capture file or read entry is no hit; Mix banks hold no Program dump.
    state.lastBankRead.slots[6].clear();
    ASSERT_TRUE (library.latestProgramCaptureFile (1, 6).replaceWithText (""));
    EXPECT_FALSE (flows.cachedProgramSysEx (1, 6));
    EXPECT_FALSE (flows.cachedProgramSysEx (3, 5));
}

TEST_F (ProgramMixFlowsTest, SavingASlotNeverReadSaysWhatItWillWriteFirst)
{
    flows.selectionChanged (1, 7); // no name, no dump
    const auto target = programs().getChildFile ("unread.orvop");
    dialogs.answers = { path (target) };
    prompts.answers = { 1 }; // CANCEL
    flows.saveProgram();
    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].title, "Save Program");
    EXPECT_EQ (prompts.shown[0].message.substr (0, 44), "PRESET1 007 has not been read from the Orvo:");
    EXPECT_TRUE (dialogs.opened.empty());
    EXPECT_TRUE (logged ("Save Program cancelled: the slot has not been read from the Orvo.\n"));

    prompts.answers = { 0 }; // SAVE EDITOR VALUES
    flows.saveProgram();
    EXPECT_TRUE (target.existsAsFile());
}

TEST_F (ProgramMixFlowsTest, SaveProgramWritesTheSelectedSlotAndClearsTheEditedFlag)
{
    select (0, 5, "Warm Pad");
    const auto dump = programDump (0, 5, 3);
    state.slot (0, 5).programSysEx = dump;
    state.slot (0, 5).notes = "round";
    state.slot (0, 5).tags = { "pad" };
    engine.userEdit (row ("filter1.frequency"), 1234);
    ASSERT_TRUE (engine.isEdited());

    const auto target = programs().getChildFile ("chosen.orvop");
    dialogs.answers = { path (target) };
    flows.saveProgram();

    ASSERT_EQ (dialogs.opened.size(), 1u);
    EXPECT_EQ (dialogs.opened[0].text(),
               "Save Program | " + path (programs().getChildFile ("Warm-Pad.orvop")) + " | *.orvop");
    EXPECT_EQ (log, (std::vector<std::string>{ "Saved Program file: " + path (target) + "\n" }));

    const auto doc = readJsonDocument (target);
    EXPECT_EQ (doc["name"].toString(), "Warm Pad");
    EXPECT_EQ ((int)doc["bankNumber"], 0);
    EXPECT_EQ ((int)doc["program"], 5);
    EXPECT_EQ (doc["notes"].toString(), "round");
    EXPECT_EQ (decodeBase64 (doc["sysexBase64"]), dump);
    const auto* params = doc["parameters"].getArray();
    ASSERT_NE (params, nullptr);
    ASSERT_EQ (params->size(), documentEntries());
    EXPECT_EQ ((int)(*params)[row ("filter1.frequency")]["rawValue"], 1234);
    EXPECT_EQ ((*params)[row ("filter1.frequency")]["id"].toString(), "filter1.frequency");

    EXPECT_FALSE (engine.isEdited());
    EXPECT_EQ (state.slot (0, 5).documentFile, target);

    // A cancelled dialog writes nothing; a Mix bank refuses before any dialog.
    dialogs.answers = { std::nullopt };
    flows.saveProgram();
    EXPECT_EQ (log.size(), 1u);
    state.selectedBank = 3;
    flows.saveProgram();
    EXPECT_EQ (dialogs.opened.size(), 2u);
    EXPECT_EQ (log.back(), "Program uses Program slots. Select a Program bank first.\n");
}

TEST_F (ProgramMixFlowsTest, AFailedSaveKeepsTheOldDocumentLoadableAndTheEditsUnsaved)
{
#if ORVO_HAS_FILE_SIZE_LIMIT
    select (0, 1, "Keeper");
    const auto file = programs().getChildFile ("Keeper.orvop");
    ASSERT_TRUE (flows.saveProgramTo (file));
    const auto before = file.loadFileAsString();

    state.slot (0, 1).notes = std::string (300000, 'n');
    engine.userEdit (row ("osc1.semitone"), 30);
    log.clear();
    {
        ScopedFileSizeLimit limit (64 * 1024);
        EXPECT_FALSE (flows.saveProgramTo (file));
    }
    EXPECT_EQ (log, (std::vector<std::string>{ "Could not save Program file: " + path (file) + "\n" }));
    EXPECT_EQ (file.loadFileAsString(), before);
    EXPECT_TRUE (engine.isEdited());

    FlowsRig other;
    EXPECT_TRUE (other.flows.loadProgramFile (file).loaded);
    EXPECT_EQ (other.state.names.name (0, 0), "Keeper");
#else
    GTEST_SKIP() << "needs a file size limit to simulate a full disk";
#endif
}

//==============================================================================
TEST_F (ProgramMixFlowsTest, SaveMixWritesThePayloadWhenCachedAndASnapshotWhenNot)
{
    select (3, 9, "Live Set");
    mixCache = { mixPayload (1), 3, 9 };
    const auto withPayload = mixes().getChildFile ("a.orvom");
    dialogs.answers = { path (withPayload) };
    flows.saveMix();
    EXPECT_EQ (dialogs.opened[0].text(), "Save Mix | " + path (mixes().getChildFile ("Live-Set.orvom")) + " | *.orvom");
    EXPECT_EQ (log, (std::vector<std::string>{ "Saved Mix file: " + path (withPayload) + "\n", withPayloadLine }));
    EXPECT_EQ (decodeBase64 (readJsonDocument (withPayload)["mixPayloadBase64"]), mixPayload (1));
    EXPECT_EQ (mixReads, 0);

    // The cache belongs to another slot and no output is open: an editor-only snapshot.
    log.clear();
    mixCache.slot = 10;
    const auto snapshot = mixes().getChildFile ("b.orvom");
    dialogs.answers = { path (snapshot) };
    flows.saveMix();
    EXPECT_EQ (log, (std::vector<std::string>{
                        "No current Orvo Mix payload is cached, so Save Mix will create an editor-only .orvom "
                        "snapshot.\n",
                        "Saved Mix file: " + path (snapshot) + "\n", snapshotLine }));
    EXPECT_FALSE (readJsonDocument (snapshot).hasProperty ("mixPayloadBase64"));
    EXPECT_EQ (state.slot (3, 9).documentFile, snapshot);

    log.clear();
    select (0, 9, "A Program");
    flows.saveMix();
    EXPECT_EQ (log, (std::vector<std::string>{ "Mix uses Mix slots. Select a Mix bank first.\n" }));
}

TEST_F (ProgramMixFlowsTest, SaveMixReadsTheMixFirstAndGoesOnWhenTheReadEnds)
{
    const std::string readLine =
        "Save Mix: reading the complete current Mix payload from the Orvo before opening the save dialog.\n";
    midiOpen = true;
    select (4, 2, "Gig");

    // The read brings the payload: the dialog opens and the file carries it.
    flows.saveMix();
    EXPECT_EQ (log, (std::vector<std::string>{ readLine }));
    EXPECT_EQ (mixReads, 1);
    EXPECT_TRUE (dialogs.opened.empty());
    EXPECT_TRUE (flows.isMixSavePending());
    mixCache = { mixPayload (7), 4, 2 };
    const auto first = mixes().getChildFile ("gig.orvom");
    dialogs.answers = { path (first) };
    flows.mixReadEnded (true);
    EXPECT_FALSE (flows.isMixSavePending());
    EXPECT_EQ (decodeBase64 (readJsonDocument (first)["mixPayloadBase64"]), mixPayload (7));
    EXPECT_EQ (log.back(), withPayloadLine);

    // The read fails: the save goes on as an editor-only snapshot.
    log.clear();
    mixCache = {};
    flows.saveMix();
    const auto second = mixes().getChildFile ("gig2.orvom");
    dialogs.answers = { path (second) };
    flows.mixReadEnded (false);
    EXPECT_EQ (log, (std::vector<std::string>{
                        readLine,
                        "The current Orvo Mix payload was unavailable. Continuing with an editor-only .orvom "
                        "snapshot.\n",
                        "Saved Mix file: " + path (second) + "\n", snapshotLine }));

    // The selection moves while the read runs: nothing is saved, and a late second end does nothing.
    log.clear();
    const auto dialogsBefore = dialogs.opened.size();
    flows.saveMix();
    select (4, 3, "Other");
    flows.mixReadEnded (true);
    flows.mixReadEnded (true);
    EXPECT_EQ (log,
               (std::vector<std::string>{
                   readLine, "Save Mix cancelled because the selected Mix changed while its data was being read.\n" }));
    EXPECT_EQ (dialogs.opened.size(), dialogsBefore);
}

//==============================================================================
TEST_F (ProgramMixFlowsTest, LoadProgramMapsTheDumpOfItsSlotAndAsksAboutTheTransfer)
{
    ByteVector all;
    for (int slot : { 4, 9, 12 })
    {
        const auto d = programDump (0, slot, slot);
        all.insert (all.end(), d.begin(), d.end());
    }
    const auto file = writeJson (programs().getChildFile ("three.orvop"),
                                 jsonObject ({ { "type", "program" },
                                               { "name", "Three" },
                                               { "program", 9 },
                                               { "tags", juce::Array<juce::var>{ "BASS", "nonsense" } },
                                               { "sysexBase64", juce::Base64::toBase64 (all.data(), all.size()) } }));
    select (0, 30, "");
    engine.userEdit (row ("osc1.semitone"), 5);
    dialogs.answers = { path (file) };
    prompts.answers = { 0 };
    flows.loadProgram();

    EXPECT_EQ (dialogs.opened[0].text(), "Load Program | " + path (programs()) + " | *.orvop");

    const auto wanted = programDump (0, 9, 9);
    DecodedProgramValues expected;
    std::string diagnostic;
    ASSERT_TRUE (decodeProgramDump (wanted, expected, diagnostic));
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        if (expected.defined.test ((size_t)r))
        {
            const auto& info = ParameterCatalogue::row (r);
            ASSERT_EQ (engine.value (r), std::clamp (expected.raw[(size_t)r], info.rawMin, info.rawMax)) << info.id;
        }
    EXPECT_EQ (state.slot (0, 30).programSysEx, wanted);
    EXPECT_EQ (flows.currentProgramSysEx(), wanted);
    EXPECT_EQ (state.names.name (0, 30), "Three");
    EXPECT_EQ (state.slot (0, 30).tags, (std::vector<std::string>{ "bass" }));
    EXPECT_EQ (state.slot (0, 30).parameters.size(), documentEntries()); // taken from the editor
    EXPECT_FALSE (engine.isEdited());
    EXPECT_EQ (
        log.front(),
        "The selected .orvop file contains multiple SysEx messages; using one Program dump for the loaded slot.\n");
    EXPECT_TRUE (logged ("Loaded Program file into USER 030: " + path (file) + " (mapped local Program dump)\n"));

    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].title, "Transfer Loaded Program");
    EXPECT_EQ (prompts.shown[0].message,
               "The loaded Program has been applied to the editor.\n\nWould you like to transfer the current editor "
               "values to the Orvo now?\n\nThis Program file includes a raw Orvo Program SysEx dump. You can send "
               "that dump to the currently selected USER slot, or send the editor's current parameter values.");
    EXPECT_EQ (prompts.shown[0].buttons,
               (std::vector<std::string>{ "SEND TO USER SLOT", "SEND EDITOR VALUES", "NOT NOW" }));
    EXPECT_EQ (log.back(), localOnlyLine);

    // After every load the views are refreshed and the working environment holds the new slot.
    EXPECT_EQ (refreshes, 1);
    LibrarianState reread;
    ASSERT_TRUE (loadEnvironmentObject (reread, readJsonDocument (working.file()), {}));
    EXPECT_EQ (reread.names.name (0, 30), "Three");
    EXPECT_EQ (reread.slot (0, 30).programSysEx, wanted);

    // With a transfer in place the answers reach it; NOT NOW does nothing.
    int dumpsSent = 0, valuesSent = 0;
    flows.sendLoadedProgram = [&] { ++dumpsSent; };
    flows.sendEditorValues = [&] { ++valuesSent; };
    for (int answer : { 0, 1, 2, -1 })
    {
        prompts.answers = { answer };
        flows.loadProgramFile (file);
    }
    EXPECT_EQ (dumpsSent, 1);
    EXPECT_EQ (valuesSent, 1);
}

TEST_F (ProgramMixFlowsTest, LoadProgramWithoutADumpOrNameOrProgramBank)
{
    // No name: the file name; no dump: the short transfer question; values set from "parameters".
    const auto file =
        writeJson (programs().getChildFile ("Fat Bass.orvop"),
                   jsonObject ({ { "type", "program" },
                                 { "name", "   " },
                                 { "bankNumber", 2 },
                                 { "parameters", entries ({ { "filter1.frequency", 777 }, { "no.such", 1 } }) } }));
    select (3, 7, "");
    engine.userEdit (row ("osc1.semitone"), 5);
    prompts.answers = { 0 };
    const auto outcome = flows.loadProgramFile (file);

    EXPECT_EQ (outcome.bank, 2); // a Mix bank was selected: the document's own Program bank
    EXPECT_EQ (state.names.name (2, 7), "Fat Bass");
    EXPECT_EQ (engine.value (row ("filter1.frequency")), 777);
    EXPECT_FALSE (engine.isEdited());
    EXPECT_TRUE (logged ("Loaded Program file into PRESET2 007: " + path (file) + " (1 editor parameters)\n"));
    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].buttons, (std::vector<std::string>{ "TRANSFER TO ORVO", "NOT NOW" }));
    EXPECT_EQ (log.back(), localOnlyLine);

    // A Mix bank and no usable "bankNumber": USER. Nothing in the editor changed, so edits stay unsaved.
    const auto other = writeJson (programs().getChildFile ("x.orvop"),
                                  jsonObject ({ { "type", "program" }, { "name", "Named" }, { "bankNumber", 4 } }));
    engine.userEdit (row ("osc1.semitone"), 6);
    EXPECT_EQ (flows.loadProgramFile (other).bank, 0);
    EXPECT_EQ (state.names.name (0, 7), "Named");
    EXPECT_TRUE (engine.isEdited());
    EXPECT_TRUE (logged ("Loaded Program file into USER 007: " + path (other) + " (name and tags)\n"));
}

TEST_F (ProgramMixFlowsTest, LoadMixShowsItsPayloadLocallyInTheFirstMixBank)
{
    select (0, 4, "Program Slot");
    const auto upper = writeJson (mixes().getChildFile ("upper.orvom"), mixDocument ("mix", ".ORVOM", 1024));
    dialogs.answers = { path (upper) };
    flows.loadMix();
    EXPECT_EQ (dialogs.opened[0].text(), "Load Mix | " + path (mixes()) + " | *.orvom");
    ASSERT_EQ (shownMixes.size(), 1u);
    EXPECT_EQ (shownMixes[0].payload, mixPayload (5));
    EXPECT_EQ (shownMixes[0].bank, 3); // a Program bank was selected: the first Mix bank
    EXPECT_EQ (shownMixes[0].slot, 4);
    EXPECT_EQ (shownMixes[0].title, "LOCAL .ORVOM MIX \xe2\x80\x9cStage\xe2\x80\x9d LOADED");
    EXPECT_EQ (state.names.name (3, 4), "Stage");
    EXPECT_EQ (state.slot (3, 4).notes, "three keyboards");
    EXPECT_EQ (state.names.name (0, 4), "Program Slot");
    EXPECT_EQ (log,
               (std::vector<std::string>{ "Loaded Mix file into MIX (USER) 004: " + path (upper) +
                                              " (complete Mix payload and editor metadata)\n",
                                          "The .orvom Mix was loaded locally only; no data was sent to the Orvo.\n" }));
    EXPECT_TRUE (prompts.shown.empty());
    EXPECT_EQ (refreshes, 1);
}

TEST_F (ProgramMixFlowsTest, ARefusedDocumentSaysWhyAndChangesNothing)
{
    select (0, 3, "Before");
    state.slot (0, 3).programSysEx = programDump (0, 3, 1);
    ASSERT_TRUE (working.save());
    ASSERT_TRUE (working.file().replaceWithText ("as written before"));
    const std::string notProgram = "Could not load Program file. The selected file is not an Orvo Editor program "
                                   "document:";
    const struct
    {
        bool program;
        juce::var root;
        std::string reason;
    } cases[] = {
        { true, jsonObject ({ { "type", "mix" }, { "name", "X" } }), notProgram },
        { false, mixDocument ("Mix", ".orvom", 1024), "The selected file is not an Orvo Editor Mix document." },
        { false, mixDocument ("mix", ".orvom", 1023), "The Mix payload has an invalid declared byte length." },
        { false, mixDocument ("mix", ".orvop", 1024),
          "The selected Mix document does not identify itself as an .orvom file." },
    };
    for (const auto& c : cases)
    {
        log.clear();
        const auto file =
            writeJson (c.program ? programs().getChildFile ("mix.orvop") : mixes().getChildFile ("bad.orvom"), c.root);
        EXPECT_FALSE ((c.program ? flows.loadProgramFile (file) : flows.loadMixFile (file)).loaded) << c.reason;
        const auto line = (c.program ? "" : "Could not load Mix file: ") + c.reason + " " + path (file) + "\n";
        EXPECT_EQ (log, std::vector<std::string>{ line });
        EXPECT_EQ (state.names.name (0, 3), "Before") << c.reason;
        EXPECT_EQ (state.names.name (3, 3), "") << c.reason;
        EXPECT_EQ (state.slot (0, 3).programSysEx, programDump (0, 3, 1)) << c.reason;
        EXPECT_EQ (working.file().loadFileAsString(), "as written before") << "the environment was not rewritten";
    }
    EXPECT_EQ (refreshes, 0);
    EXPECT_TRUE (prompts.shown.empty());
    EXPECT_TRUE (shownMixes.empty());
}

TEST_F (ProgramMixFlowsTest, AMixWithoutPayloadKeysLoadsAsAnEditorSnapshot)
{
    const auto file = writeJson (
        mixes().getChildFile ("snap.orvom"),
        jsonObject ({ { "type", "mix" },
                      { "name", "Snap" },
                      { "tags", juce::Array<juce::var>{ "pad", "lead" } },
                      { "notes", "n" },
                      { "controlPages", jsonObject ({ { "version", 1 } }) },
                      { "parameters", entries ({ { "filter1.frequency", 100 }, { "osc1.semitone", 40 } }) } }));
    // A Program slot is selected, so the Mix goes to MIX (USER) and its snapshot stays the document's own
    // (the working environment refreshes only the selected slot's snapshot from the editor).
    select (0, 11, "");
    EXPECT_TRUE (flows.loadMixFile (file).loaded);
    EXPECT_TRUE (shownMixes.empty());
    const auto& slot = state.slot (3, 11);
    EXPECT_EQ (state.names.name (3, 11), "Snap");
    EXPECT_EQ (slot.tags, (std::vector<std::string>{ "lead", "pad" }));
    EXPECT_EQ ((int)slot.toolData["version"], 1);
    EXPECT_EQ (slot.parameters.size(), 2); // the document's own snapshot, not the editor's
    EXPECT_EQ (engine.value (row ("osc1.semitone")), 40);
    EXPECT_EQ (slot.documentFile, file);
    EXPECT_TRUE (logged ("Loaded Mix file into MIX (USER) 011: " + path (file) + " (2 editor parameters)\n"));
}

//==============================================================================
TEST_F (ProgramMixFlowsTest, SelectionFindsTheSlotsDocumentByNameWithoutRereadingTheLibrary)
{
    auto doc = [] (const char* name, juce::var bank, juce::var parameters, const char* wedge)
    {
        return jsonObject ({ { "type", "program" },
                             { "name", name },
                             { "bankNumber", bank },
                             { "parameters", parameters },
                             { "wedgePreset", jsonObject ({ { "preset", wedge } }) } });
    };
    // The file named after the slot's default stem wins over a newer one of the same name.
    const auto preferred = writeJson (programs().getChildFile ("Warm-Pad.orvop"),
                                      doc ("Warm  Pad", 0, entries ({ { "filter1.frequency", 1 } }), "preferred"));
    writeJson (programs().getChildFile ("deep/newer.orvop"),
               doc ("Warm Pad", 0, entries ({ { "filter1.frequency", 2 } }), "newer"));
    const auto presetOne = writeJson (programs().getChildFile ("elsewhere.orvop"),
                                      doc ("Warm Pad", 1, entries ({ { "filter1.frequency", 3 } }), "preset one"));
    writeJson (programs().getChildFile ("Lonely.orvop"), doc ("Lonely", 2, entries ({ { "x", 4 } }), "two"));
    // Everything was written a while ago, so the index can trust what it has read.
    const auto anHourAgo = juce::Time::getCurrentTime() - juce::RelativeTime::hours (1);
    for (const auto& f : programs().findChildFiles (juce::File::findFilesAndDirectories, true))
        f.setLastModificationTime (anHourAgo);
    programs().setLastModificationTime (anHourAgo);
    programs().getChildFile ("deep/newer.orvop").setLastModificationTime (anHourAgo + juce::RelativeTime::minutes (30));

    select (0, 5, " Warm Pad ");
    EXPECT_EQ (state.selectedBank, 0);
    EXPECT_EQ (state.selectedSlot, 5);
    EXPECT_EQ (log, (std::vector<std::string>{ "Loaded cached Program data for  Warm Pad  from " + path (preferred) +
                                               ".\n" }));
    EXPECT_EQ (state.slot (0, 5).wedgePreset["preset"].toString(), "preferred");
    EXPECT_EQ ((int)state.slot (0, 5).parameters[0]["rawValue"], 1);
    EXPECT_EQ (state.slot (0, 5).documentFile, preferred);
    EXPECT_EQ (refreshes, 1);

    // A document of another bank is not this slot's.
    log.clear();
    select (0, 6, "Lonely");
    EXPECT_TRUE (log.empty());
    EXPECT_FALSE (state.slot (0, 6).parameters.isArray());
    select (1, 5, "Warm Pad");
    EXPECT_EQ (state.slot (1, 5).wedgePreset["preset"].toString(), "preset one");
    EXPECT_EQ (state.slot (1, 5).documentFile, presetOne);
    // Mix banks have no Program documents; an empty name looks nothing up.
    log.clear();
    select (3, 5, "Warm Pad");
    select (0, 7, "");
    EXPECT_TRUE (log.empty());

    // Selections do not read the library again ...
    select (0, 5, "Warm Pad");
    EXPECT_EQ (flows.libraryIndex().parsedByLastRefresh(), 0);
    EXPECT_EQ (flows.libraryIndex().documentCount(), 4u);

    // ... yet a Program the editor saves is found by the next selection, even where the folder's
    // time does not show the new file.
    select (2, 40, "Brand New");
    const auto saved = programs().getChildFile ("Brand-New.orvop");
    ASSERT_TRUE (flows.saveProgramTo (saved));
    programs().setLastModificationTime (anHourAgo);
    state.slot (2, 40) = LibrarySlot();
    log.clear();
    flows.selectionChanged (2, 40);
    EXPECT_EQ (log,
               (std::vector<std::string>{ "Loaded cached Program data for Brand New from " + path (saved) + ".\n" }));
    EXPECT_EQ (state.slot (2, 40).parameters.size(), documentEntries());
    time.advance (WorkingEnvironment::selectionRestMs - 1);
    EXPECT_FALSE (working.flushSelectionSave()) << "the selection has not rested yet";
    time.advance (1);
    ASSERT_TRUE (working.flushSelectionSave());
    LibrarianState restarted;
    ASSERT_TRUE (loadEnvironmentObject (restarted, readJsonDocument (working.file()), {}));
    EXPECT_EQ (restarted.slot (2, 40).parameters.size(), documentEntries()) << "the environment was rewritten";
    EXPECT_EQ (restarted.selectedBank, 2);
}

//==============================================================================
TEST (ProgramMixFlowsEndToEnd, ASyncedProgramSavedAndLoadedAfterARestartIsTheSame)
{
    TemporaryFolder sharedLibrary;
    const auto file = sharedLibrary / "saved.orvop";
    const auto path = file.getFullPathName().toStdString();

    ByteVector synced;
    std::array<int, ParameterCatalogue::numRows> values{};
    std::vector<std::optional<int>> routes;
    const auto routeValues = [] (EditorEngine& engine)
    {
        std::vector<std::optional<int>> out;
        for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
            for (auto f : ModulationRoutes::fields())
                out.push_back (engine.modulation().value (r, f));
        return out;
    };
    std::string name;
    {
        auto before = makeHeadlessEditor();
        before->instrument().selectOnPanel (1, 17);
        before->connect (true);
        before->settle();

        const auto& program = before->instrument().editBufferProgram();
        synced = buildProgramDump (program, sysex::opProgramEditBuffer, sysex::editBufferSubCode);
        name = readProgramName (program);
        ASSERT_FALSE (name.empty());
        auto& flows = before->librarian().programFlows();
        EXPECT_EQ (flows.currentProgramSysEx(), synced);
        EXPECT_FALSE (before->engine().isEdited());

        before->dialogs.answers = { path };
        flows.saveProgram();
        for (int r = 0; r < ParameterCatalogue::numRows; ++r)
            values[(size_t)r] = before->engine().value (r);
        routes = routeValues (before->engine());
        ASSERT_NE (routes, routeValues (makeHeadlessEditor()->engine())) << "the Program brought routes of its own";
    }

    auto after = makeHeadlessEditor(); // a fresh editor: default values, empty librarian
    after->session().sync().selector().follow (1, 17);
    after->dialogs.answers = { path };
    after->prompts.answers = { 2 }; // NOT NOW
    after->librarian().loadProgram();
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        ASSERT_EQ (after->engine().value (r), values[(size_t)r]) << ParameterCatalogue::row (r).id;
    EXPECT_EQ (routeValues (after->engine()), routes);
    EXPECT_EQ (after->librarian().programFlows().currentProgramSysEx(), synced);
    EXPECT_EQ (after->librarian().state().slot (1, 17).programSysEx, synced);
    EXPECT_EQ (after->librarian().state().names.name (1, 17), name);
    EXPECT_EQ (after->prompts.shown.at (0).buttons.size(), 3u);
}

TEST (ProgramMixFlowsEndToEnd, ASavedProgramBringsBackTheEffectAndRoutesOnScreenNotTheStaleDumps)
{
    TemporaryFolder folder;
    const auto path = (folder / "edited.orvop").getFullPathName().toStdString();
    auto before = makeHeadlessEditor();
    before->connect (true);
    before->settle();
    auto& fx = before->session().effects().page();
    const int pingPong = 13;
    ASSERT_NE (fx.algorithm(), pingPong);
    const auto chosen = fx.chooseAlgorithm (pingPong);
    before->engine().sendInterface (chosen.nrpn, chosen.raw, chosen.actionLabel);
    const auto edit = fx.userEdit (1, 0, 77);
    ASSERT_TRUE (edit);
    const int route = *ModulationRoutes::indexOf ("OSC1 MOD1");
    before->engine().modulation().setField (route, ModulationField::level, 3000);
    before->dialogs.answers = { path };
    before->librarian().saveProgram();

    auto after = makeHeadlessEditor();
    after->dialogs.answers = { path };
    after->prompts.answers = { 2 }; // NOT NOW
    after->librarian().loadProgram();
    const auto& loaded = after->session().effects().page();
    EXPECT_EQ (loaded.algorithm(), pingPong);
    EXPECT_EQ (loaded.control (1, 0).raw, fx.control (1, 0).raw);
    EXPECT_EQ (after->engine().modulation().value (route, ModulationField::level), 3000);
}

TEST (ProgramMixFlowsEndToEnd, ASyncThatRenamesTheSelectedSlotSaysSoOnce)
{
    auto editor = makeHeadlessEditor();
    editor->instrument().selectOnPanel (0, 3);
    auto& flows = editor->librarian().programFlows();
    std::vector<std::pair<int, int>> renamed;
    auto marked = flows.slotRenamed;
    flows.slotRenamed = [&] (int bank, int slot)
    {
        renamed.emplace_back (bank, slot);
        marked (bank, slot);
    };
    editor->connect (true);
    editor->settle();
    ASSERT_EQ (renamed, (std::vector<std::pair<int, int>>{ { 0, 3 } }));

    editor->session().sync().startProgramSync(); // the same Program again: the name does not change
    editor->settle();
    EXPECT_EQ (renamed.size(), 1u);
}
