#include "engine/LibrarianEditorLink.h"
#include "library/FileNaming.h"
#include "library/JsonText.h"
#include "library/ProgramDocument.h"
#include "library/ProgramMixFlows.h"

#include "BenchLibrary.h"

#include <benchmark/benchmark.h>

#include <thread>

// What the editor does with its library at start-up, on a library of 10,000 saved Program documents and
// a working environment of 640 full slots: the working environment loaded, then the first selection,
// whose lookup scans the whole Programs folder once, then a lookup as every later selection does.
namespace
{
constexpr int documentCount = 10000;

std::string programName (int i)
{
    return "Library Program " + std::to_string (i);
}

/** A library root holding 10,000 Program documents as SAVE PROGRAM writes them (every parameter, the
    SysEx and its digests, the tool data), 100 to a folder, and a full working environment whose
    Program slots carry the names of the first 384 documents. Made once for every run. */
struct StartupLibrary
{
    juce::File root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("orvo-startup-bench", "", false);
    juce::File programs = root.getChildFile ("Programs");
    juce::File environment = root.getChildFile ("Environments").getChildFile ("Default.orvox");
    std::int64_t libraryBytes = 0;

    StartupLibrary()
    {
        // One saved document is the pattern; the others differ in name, bank and slot only, which is
        // all the index reads, so the pattern's text is reused with those three put in.
        orvo::SlotDocumentContent content;
        content.name = "@NAME@";
        content.bankLabel = "USER";
        content.notes = "Played at the rehearsal, needs a brighter filter";
        content.tags = { "bass", "dark", "mono" };
        content.parameters = orvo::bench::catalogueSnapshot (3);
        content.toolData = juce::JSON::parse (R"({"version": 1, "morph": {}, "macros": [], "midiControl": {}})");
        const auto pattern =
            orvo::toJsonText (orvo::buildProgramDocument (content, orvo::bench::makeDump (0, 0), juce::Time()));

        for (int i = 0; i < documentCount; ++i)
        {
            const int bank = i % 3, slot = i % 128;
            auto text = pattern;
            const auto put = [&text] (const std::string& from, const std::string& to)
            {
                if (const auto at = text.find (from); at != std::string::npos)
                    text.replace (at, from.size(), to);
            };
            put ("\"name\": \"@NAME@\"", "\"name\": \"" + programName (i) + "\"");
            put ("\"normalizedName\": \"" + orvo::normalizedName ("@NAME@") + "\"",
                 "\"normalizedName\": \"" + orvo::normalizedName (programName (i)) + "\"");
            put ("\"bankNumber\": 0", "\"bankNumber\": " + std::to_string (bank));
            put ("\"program\": 0", "\"program\": " + std::to_string (slot));
            const auto file = programs.getChildFile ("folder-" + juce::String (i / 100))
                                  .getChildFile (juce::String (programName (i)) + ".orvop");
            file.getParentDirectory().createDirectory();
            file.replaceWithData (text.data(), text.size());
            libraryBytes += (std::int64_t)text.size();
        }

        orvo::LibrarianState state;
        for (int bank = 0; bank < orvo::LibrarianState::numBanks; ++bank)
            for (int slot = 0; slot < orvo::LibrarianState::numSlots; ++slot)
            {
                auto& s = state.slot (bank, slot);
                s.notes = "Played at the rehearsal, needs a brighter filter";
                s.tags = { "bass", "dark", "mono" };
                s.parameters = orvo::bench::catalogueSnapshot (slot);
                if (orvo::LibrarianState::isProgramBank (bank))
                    s.programSysEx = orvo::bench::makeDump (bank, slot);
            }
        for (int i = 0; i < 3 * 128; ++i)
            state.names.setName (i % 3, i % 128, programName (i));
        state.selectedBank = 1;
        state.selectedSlot = 42;
        std::string text;
        orvo::writeEnvironmentText (state, text, true);
        environment.getParentDirectory().createDirectory();
        environment.replaceWithData (text.data(), text.size());

        // Files just written are still settling; the index trusts them once the clock has moved on.
        std::this_thread::sleep_for (std::chrono::milliseconds (2100));
    }
    ~StartupLibrary() { root.deleteRecursively(); }
};

StartupLibrary& generated()
{
    static StartupLibrary library;
    return library;
}

/** The editor's librarian without a window, on the generated library root, as start-up builds it. */
struct Editor
{
    orvo::VirtualTime time;
    orvo::ScriptedPrompts prompts;
    orvo::ScriptedFileDialogs dialogs;
    orvo::StringClipboard clipboard;
    orvo::EditorEngine engine{ { time, time, prompts, dialogs, clipboard } };
    orvo::EditorSettingsStore store{ generated().root.getChildFile ("Settings") };
    orvo::LibraryRoot library{ store, {} };
    orvo::LibrarianState state;
    orvo::WorkingEnvironment working{ state, library, time, {} };
    orvo::EffectsController effects{ engine };
    orvo::LibrarianEditorLink editor{ engine, effects };
    orvo::ProgramMixFlows flows{ editor, state, library, working, dialogs, prompts, time, {} };

    Editor() { store.writeString ("libraryRootDirectory", generated().root.getFullPathName().toStdString()); }

    /** What the constructor of the editor does with the library, then the first selection. */
    bool start()
    {
        working.loadAtStartup (0.0);
        flows.selectionChanged (state.selectedBank, state.selectedSlot);
        return state.names.name (1, 42) == programName (298) && state.slot (1, 42).parameters.isArray();
    }
};

void counters (benchmark::State& s)
{
    s.counters["documents"] = documentCount;
    s.counters["libraryMB"] = (double)generated().libraryBytes / 1.0e6;
    s.counters["environmentMB"] = (double)generated().environment.getSize() / 1.0e6;
}

/** The whole of it: working environment, first selection with the library's first scan. */
void startupWithTenThousandDocuments (benchmark::State& s)
{
    generated();
    for (auto _ : s)
    {
        Editor editor;
        if (!editor.start())
            s.SkipWithError ("the start-up did not find the selected slot's document");
    }
    counters (s);
}
BENCHMARK (startupWithTenThousandDocuments)->Unit (benchmark::kMillisecond)->Iterations (2);

/** Its first part: "Default.orvox" read, parsed and applied. */
void startupLoadOfTheWorkingEnvironment (benchmark::State& s)
{
    generated();
    for (auto _ : s)
    {
        orvo::VirtualTime time;
        orvo::EditorSettingsStore store{ generated().root.getChildFile ("Settings") };
        store.writeString ("libraryRootDirectory", generated().root.getFullPathName().toStdString());
        orvo::LibraryRoot library{ store, {} };
        orvo::LibrarianState state;
        orvo::WorkingEnvironment working{ state, library, time, {} };
        working.loadAtStartup (0.0);
        if (state.names.name (0, 0) != programName (0))
            s.SkipWithError ("the working environment was not loaded");
    }
    counters (s);
}
BENCHMARK (startupLoadOfTheWorkingEnvironment)->Unit (benchmark::kMillisecond)->Iterations (3);

/** Its second part: the first scan of the Programs folder. */
void startupFirstScanOfTheLibrary (benchmark::State& s)
{
    generated();
    for (auto _ : s)
    {
        orvo::ProgramLibraryIndex index ([] { return generated().programs; });
        index.fullRefresh();
        if (index.documentCount() != (size_t)documentCount)
            s.SkipWithError ("not every document was indexed");
    }
    counters (s);
}
BENCHMARK (startupFirstScanOfTheLibrary)->Unit (benchmark::kMillisecond)->Iterations (2);

/** After it, each selection's lookup by name. */
void startupLookupAfterTheFirstScan (benchmark::State& s)
{
    orvo::ProgramLibraryIndex index ([] { return generated().programs; });
    index.fullRefresh();
    int i = 0;
    for (auto _ : s)
    {
        const int n = (i++ * 7919) % documentCount;
        const auto found = index.findProgramFile (n % 3, n % 128, programName (n));
        if (!found)
            s.SkipWithError ("a generated document was not found");
        benchmark::DoNotOptimize (found);
    }
    counters (s);
}
BENCHMARK (startupLookupAfterTheFirstScan)->Unit (benchmark::kMicrosecond);
} // namespace
