#include "engine/LibrarianEditorLink.h"
#include "library/ProgramMixFlows.h"

#include <benchmark/benchmark.h>

#include <thread>

namespace
{
constexpr int documentCount = 10000;
constexpr int fullDocumentEvery = 100;

/** A library of 10,000 Program documents in 100 folders; every hundredth carries a full "parameters"
    array, as a saved Program does, and those are the ones the selections find. */
struct GeneratedLibrary
{
    juce::File root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("orvo-selection-bench", "", false);

    static std::string nameOf (int i) { return "Generated " + std::to_string (i); }

    GeneratedLibrary()
    {
        juce::String parameters;
        for (int r = 0; r < orvo::ParameterCatalogue::numRows; ++r)
        {
            const auto& info = orvo::ParameterCatalogue::row (r);
            parameters << (r == 0 ? "" : ", ") << "{\"id\": \"" << info.id << "\", \"rawValue\": " << (r * 17) % 4096
                       << ", \"page\": \"" << orvo::ParameterCatalogue::pageGroupName (info.group)
                       << "\", \"section\": \"" << info.section << "\"}";
        }
        for (int i = 0; i < documentCount; ++i)
        {
            const auto file = root.getChildFile ("Programs")
                                  .getChildFile ("folder-" + juce::String (i / 100))
                                  .getChildFile ("Generated-" + juce::String (i) + ".orvop");
            file.getParentDirectory().createDirectory();
            juce::String text = "{\"schema\": \"orvo.program.v1\", \"type\": \"program\", \"name\": \"" +
                                juce::String (nameOf (i)) + "\", \"bankNumber\": " + juce::String (i % 3) +
                                ", \"program\": " + juce::String (i % 128);
            if (i % fullDocumentEvery == 0)
                text << ", \"parameters\": [" << parameters << "]";
            file.replaceWithText (text + "}");
        }
    }
    ~GeneratedLibrary() { root.deleteRecursively(); }
};

/** The editor's librarian with no window, its library root on the generated folder. */
struct Editor
{
    GeneratedLibrary generated;
    orvo::VirtualTime time;
    orvo::ScriptedPrompts prompts;
    orvo::ScriptedFileDialogs dialogs;
    orvo::StringClipboard clipboard;
    orvo::EditorEngine engine{ { time, time, prompts, dialogs, clipboard } };
    orvo::EditorSettingsStore store{ generated.root.getChildFile ("Settings") };
    orvo::LibraryRoot library{ store, {} };
    orvo::LibrarianState state;
    orvo::WorkingEnvironment working{ state, library, time, {} };
    orvo::EffectsController effects{ engine };
    orvo::LibrarianEditorLink editor{ engine, effects };
    orvo::ProgramMixFlows flows{ editor, state, library, working, dialogs, prompts, time, {} };

    Editor()
    {
        store.writeString ("libraryRootDirectory", generated.root.getFullPathName().toStdString());
        for (int i = 0; i < documentCount; i += fullDocumentEvery)
            state.names.setName (i % 3, i % 128, GeneratedLibrary::nameOf (i));
        flows.selectionChanged (0, 0); // the first look reads the whole library
        // Files just written are still settling; lookups trust them once the clock has moved on.
        std::this_thread::sleep_for (std::chrono::milliseconds (2100));
        flows.libraryIndex().fullRefresh();
    }
};

/** A selection change: the lookup of the slot's document by name and the reading of its editor data. */
void selectionChangeAmongTenThousandDocuments (benchmark::State& s)
{
    static Editor editor;
    int i = 0;
    for (auto _ : s)
    {
        const int n = ((i++ * 37) % (documentCount / fullDocumentEvery)) * fullDocumentEvery;
        editor.flows.selectionChanged (n % 3, n % 128);
        if (!editor.state.slot (n % 3, n % 128).parameters.isArray())
            s.SkipWithError ("a generated document was not found");
    }
}
BENCHMARK (selectionChangeAmongTenThousandDocuments)->Unit (benchmark::kMillisecond);
} // namespace
