#include "FuzzEntries.h"

#include "data/ProgramCodec.h"
#include "engine/EditorEngine.h"
#include "engine/HeadlessEditor.h"
#include "layout/LayoutEditSession.h"
#include "library/BankDocument.h"
#include "library/DocumentLoading.h"
#include "library/EditorSettingsStore.h"
#include "library/EnvironmentDocument.h"
#include "library/JsonText.h"
#include "library/LibrarianState.h"
#include "library/MixDocument.h"
#include "library/ProgramLibraryIndex.h"
#include "library/SidebarSettings.h"
#include "library/SysExImport.h"
#include "library/SysExMessageScan.h"
#include "library/TagTable.h"
#include "library/UserPresetStore.h"
#include "midi/MidiDevices.h"
#include "midi/SysExProtocol.h"
#include "midi/SysExStream.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"
#include "tools/ControllerDecoder.h"
#include "tools/Macros.h"
#include "tools/MorphKnob.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace orvo::fuzz
{
namespace
{
void examineMessage (const std::uint8_t* message, std::size_t length)
{
    (void)classifyProgramDump (message, length);
    (void)describeProgramDumpProblem (message, length);
    (void)unpackProgramDump (message, length);
    DecodedProgramValues values;
    std::string diagnostic;
    (void)decodeProgramDump (message, length, values, diagnostic);
    (void)unpackMixDump (message, length);
}

std::string_view textOf (const std::uint8_t* data, std::size_t size)
{
    return size == 0 ? std::string_view() : std::string_view (reinterpret_cast<const char*> (data), size);
}
} // namespace

void sysexFile (const std::uint8_t* data, std::size_t size)
{
    // The streaming cut as file import uses it: a bound well above a Program dump's length, so the
    // dumps arrive whole and the over-long ones arrive cut.
    forEachSysExMessage (data, size, sysex::storedProgramLength + 16,
                         [] (const SysExMessageView& m) { examineMessage (m.bytes, m.kept); });
    for (const auto& message : splitSysExMessages (data, size))
        examineMessage (message.data(), message.size());

    const SysExMessageScan scan (data, size);
    (void)scan.programDumpCount();
    for (const auto& found : scan.messages())
    {
        const auto bytes = scan.bytesOf (found);
        examineMessage (bytes.data(), bytes.size());
    }
    if (const auto chosen = scan.chooseProgramDump (size > 0 ? data[0] : -1))
        (void)scan.bytesOf (*chosen);
}

void sysexImport (const std::uint8_t* data, std::size_t size)
{
    (void)classifyProgramMessage (data, size);
    const auto result = analyseSysExBytes (data, size);
    if (!result.analysis)
        return;
    for (const auto& found : result.analysis->messages)
        (void)classifyProgramMessage (data + found.offset, found.length);
    (void)buildImportedBankDocument (*result.analysis, juce::File(), juce::Time());
}

void programDecode (const std::uint8_t* data, std::size_t size)
{
    UnpackedProgram fitted (data, data + std::min (size, sysex::programUnpackedLength));
    fitted.resize (sysex::programUnpackedLength, 0);
    fitted[0] = sysex::programSignature[0];
    fitted[1] = sysex::programSignature[1];
    std::string diagnostic;
    (void)decodeUnpackedProgram (fitted, &diagnostic);

    (void)decodeUnpackedProgram (UnpackedProgram (data, data + size));
}

void document (const std::uint8_t* data, std::size_t size)
{
    juce::var root;
    if (parseJson (textOf (data, size), root).failed())
        return;
    // The same text as the player's tag table, which may be an array too.
    (void)tagTableFromJson (root).tagsFor (ProgramDigests{ std::string (64, 'a'), {}, std::string (64, 'a'), std::string (64, 'a') });
    if (!root.isObject())
        return;
    const LibrarianLog log = [] (const std::string&) {};

    // What a Program or Mix load reads from the parsed root.
    (void)targetBankForDocument (DocumentKind::program, 0, root);
    (void)targetBankForDocument (DocumentKind::mix, 0, root);
    const int wanted = documentInt (root.getProperty ("program", {})).value_or (0);
    const auto sysEx = decodeDocumentSysEx (root, wanted);
    if (sysEx.dump)
    {
        DecodedProgramValues values;
        std::string diagnostic;
        (void)decodeProgramDump (*sysEx.dump, values, diagnostic);
    }
    if (const auto* entries = root.getProperty ("parameters", {}).getArray())
        for (const auto& entry : *entries)
            (void)documentInt (entry.getProperty ("rawValue", {}));
    (void)decodeMixPayload (root);

    if (const auto kind = bankDocumentKind (root))
    {
        LibrarianState state;
        (void)loadBankLocally (state, root, *kind, {}, {}, log);
    }
    {
        LibrarianState state;
        (void)loadEnvironmentObject (state, root, log);
    }
}

void libraryHead (const std::uint8_t* data, std::size_t size)
{
    // The scanner is private to the index, so the input goes through a real folder, one per process
    // and removed at exit.
    struct Folder
    {
        juce::File path = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getNonexistentChildFile ("orvo-fuzz-library", "", false);
        Folder() { (void)path.createDirectory(); }
        ~Folder() { (void)path.deleteRecursively(); }
    };
    static const Folder folder;
    const auto file = folder.path.getChildFile ("Fuzzed.orvop");
    if (!file.replaceWithData (data, size))
        return;
    ProgramLibraryIndex index ([] { return folder.path; });
    (void)index.findProgramFile (0, 0, "Fuzzed");
    (void)index.findProgramFile (1, 2, "");
    (void)index.search ("a b", { "bass" }, 5);
}

/** An engine in virtual time with scripted seams, as the tests build one. */
struct EngineRig
{
    VirtualTime time;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    StringClipboard clipboard;
    EditorEngine engine{ { time, time, prompts, dialogs, clipboard } };
};

void midiInput (const std::uint8_t* data, std::size_t size)
{
    EngineRig rig;
    auto& time = rig.time;
    auto& engine = rig.engine;
    engine.setOutput (std::make_unique<RecordingMidiOutput>());

    // Chunks of varying length, as a driver hands them over, with the timer running in between.
    std::size_t at = 0;
    while (at < size)
    {
        const std::size_t chunk = std::min<std::size_t> (size - at, 1 + data[at] % 64);
        engine.handleIncomingMidi (data + at, chunk);
        at += chunk;
        time.advance (33);
        (void)engine.tick();
    }
    time.advance (2000);
    (void)engine.tick();
}

void editorState (const std::uint8_t* data, std::size_t size)
{
    EngineRig rig;
    auto& time = rig.time;
    auto& engine = rig.engine;
    if (engine.restoreEditorState (std::string (textOf (data, size))))
        (void)engine.produceEditorState();
    time.advance (2000);
    (void)engine.tick();
}

namespace
{
struct SilentToolHost final : ToolHost
{
    int rowValue (int) const override { return 0; }
    void editRow (int, int) override {}
    void editInterface (int, int, const std::string&) override {}
    void log (const std::string&) override {}
    void recordChange (const std::string&) override {}
    int randomBelow (int) override { return 0; }
};
} // namespace

void toolSettings (const std::uint8_t* data, std::size_t size)
{
    const std::string text (textOf (data, size));
    SilentToolHost host;
    MorphKnob morph (host);
    Macros macros (host);
    MidiControlMap map;
    for (auto page : { SidebarSettings::morph, SidebarSettings::macros, SidebarSettings::notes, SidebarSettings::midiControl })
        if (const auto settings = SidebarSettings::read (text, page))
        {
            morph.fromVar (*settings);
            macros.fromVar (*settings);
            map.fromVar (*settings, {});
            (void)map.toVar();
            morph.setKnob (50.0);
            macros.setKnob (0, 50.0);
        }
    for (int mode = 1; mode <= 5; ++mode)
    {
        ControllerDecoder decoder;
        decoder.setMode (mode);
        for (std::size_t at = 0; at + 3 <= size; ++at)
            if (const auto m = decoder.feed (data + at, 3))
                (void)map.match (*m);
    }
}

/** A scratch folder of this process, removed at exit. */
const juce::File& scratchFolder()
{
    struct Folder
    {
        juce::File path = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getNonexistentChildFile ("orvo-fuzz-files", "", false);
        Folder() { (void)path.createDirectory(); }
        ~Folder() { (void)path.deleteRecursively(); }
    };
    static const Folder folder;
    return folder.path;
}

void settingsFile (const std::uint8_t* data, std::size_t size)
{
    const auto folder = scratchFolder().getChildFile ("settings");
    (void)folder.createDirectory();
    EditorSettingsStore probe (folder);
    if (!probe.settingsFile().replaceWithData (data, size))
        return;
    EditorSettingsStore store (folder);
    (void)store.readStartupSettings();
    (void)store.readStoredSettings();
}

void userPreset (const std::uint8_t* data, std::size_t size)
{
    // One editor for every input: building one costs far more than loading a preset into it.
    static const auto editor = makeHeadlessEditor();
    const auto file = scratchFolder().getChildFile ("Fuzzed.orvopreset");
    if (!file.replaceWithData (data, size))
        return;
    auto& presets = editor->session().userPresets();
    (void)presets.load ({ UserPresetKind::effects, {}, 1 }, file);
    (void)presets.load ({ UserPresetKind::envelope, {}, 2 }, file);
    for (const auto& section : userPresetSections())
        (void)presets.load ({ UserPresetKind::section, section.key, 1 }, file);
    (void)editor->engine().tick();
}

void layoutDocument (const std::uint8_t* data, std::size_t size)
{
    const auto read = readLayoutText (textOf (data, size));
    if (! read.document)
        return;
    // What was read must write and read back the same, and apply to a session without trouble.
    const auto text = layoutDocumentText (*read.document);
    const auto again = readLayoutText (text);
    if (! again.document || layoutDocumentText (*again.document) != text)
        __builtin_trap();
    LayoutEditSession session;
    session.setItems ({ { "param.osc1.semitone", "Slider/Knob", { 10, 100, 200, 26 }, true } });
    session.applyDocument (*read.document);
    for (const auto& g : session.groups())
        session.setGroupLocked (g.id, true);
    session.select ("param.osc1.semitone", false);
    session.moveSelection (7, -7);
    (void)session.capture ({ "param.osc1.semitone" });
}

} // namespace orvo::fuzz
