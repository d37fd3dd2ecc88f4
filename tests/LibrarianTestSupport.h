#pragma once

#include "LibraryTestSupport.h"
#include "library/BankDocument.h"
#include "library/BankEnvironmentFlows.h"
#include "library/LibraryRoot.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo::testing
{

/** A stored Program dump for (bank, slot) whose body depends on `seed`, so different slots differ. */
inline ByteVector programDump (int bank, int slot, int seed)
{
    UnpackedProgram program (sysex::programUnpackedLength);
    for (size_t i = 0; i < program.size(); ++i)
        program[i] = (std::uint8_t) ((i * 7 + (size_t)seed * 13) & 0xFF);
    program[0] = sysex::programSignature[0];
    program[1] = sysex::programSignature[1];
    return buildProgramDump (program, sysex::opStoredProgram, bank, slot);
}

inline std::string base64Of (const ByteVector& bytes)
{
    return juce::Base64::toBase64 (bytes.data(), bytes.size()).toStdString();
}

inline juce::var parseJson (const std::string& text)
{
    return juce::JSON::parse (juce::String (juce::CharPointer_UTF8 (text.c_str())));
}

inline juce::var parameterSnapshot (int firstValue)
{
    juce::Array<juce::var> entries;
    for (int i = 0; i < 3; ++i)
    {
        auto* e = new juce::DynamicObject();
        e->setProperty ("id", juce::String ("osc1.semitone") + juce::String (i));
        e->setProperty ("rawValue", firstValue + i);
        e->setProperty ("page", "OSCILLATORS");
        e->setProperty ("section", "OSC 1");
        entries.add (juce::var (e));
    }
    return juce::var (entries);
}

/** Fills a bank with names, notes, tags and, every third slot of a Program bank, a dump, a snapshot,
    tool data and a Wedge assignment, so every optional key of a slot entry shows up somewhere. */
inline void fillBank (LibrarianState& state, int bank, const std::string& prefix)
{
    for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
    {
        state.names.setName (bank, slot, prefix + " " + std::to_string (slot));
        auto& s = state.slot (bank, slot);
        s.notes = "notes of " + std::to_string (slot);
        s.tags = slot % 2 == 0 ? std::vector<std::string>{ "bass", "dark" } : std::vector<std::string>{ "pad" };
        if (slot % 3 == 0)
        {
            if (LibrarianState::isProgramBank (bank))
                s.programSysEx = programDump (bank, slot, slot + bank * 128);
            s.parameters = parameterSnapshot (slot);
            s.toolData = objectWith ("morph", slot);
            s.wedgePreset = objectWith ("preset", "Wedge " + juce::String (slot));
        }
    }
    state.names.setBankDisplayName (bank, prefix + " Bank");
    state.banks[(size_t)bank].notes = prefix + " bank notes";
}

/** A library in a temporary folder, with scripted dialogs, virtual time and a log, and the bank and
    environment flows wired to them as the editor wires them. */
struct LibrarianFixture
{
    TemporaryFolder temp;
    std::vector<std::string> log;
    LibrarianLog logFn = [this] (const std::string& line) { log.push_back (line); };
    EditorSettingsStore store{ temp / "Settings" };
    LibraryRoot library{ store, logFn };
    VirtualTime time;
    ScriptedFileDialogs dialogs;
    ScriptedPrompts prompts;
    LibrarianState state;
    WorkingEnvironment working{ state, library, time, logFn };
    BankEnvironmentFlows flows{ state, library, working, dialogs, prompts, time, logFn };
    bool midiOpen = false;

    LibrarianFixture()
    {
        flows.midiOutputOpen = [this] { return midiOpen; };
    }

    juce::File banksFolder() const { return library.folder (LibraryRoot::Folder::banks); }
    juce::File bankFile (const char* name, const std::string& text) const
    {
        return writeText (banksFolder().getChildFile (name), text);
    }
    /** Bank `bank` of `source` saved as a document in the Banks folder. */
    juce::File bankFile (const char* name, const LibrarianState& source, int bank) const
    {
        const auto file = banksFolder().getChildFile (name);
        EXPECT_TRUE (writeLibraryDocument (file, buildBankDocument (source, bank, juce::Time (0)), "Bank", {}));
        return file;
    }
    /** Loads a Bank document, answering the question it asks with `answer`. */
    void loadBank (const juce::File& file, int answer = 0)
    {
        prompts.answers = { answer };
        flows.loadBankFile (file);
    }
    juce::File environmentsFolder() const { return library.folder (LibraryRoot::Folder::environments); }
    bool logged (const std::string& line) const { return std::find (log.begin(), log.end(), line) != log.end(); }
};

} // namespace orvo::testing
