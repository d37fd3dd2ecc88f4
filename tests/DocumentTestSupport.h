#pragma once

#include "LibraryTestSupport.h"
#include "library/DocumentLoading.h"

#include <map>
#include <random>

namespace orvo::testing
{

/** A stored-Program dump for (bank, slot) with the given name bytes and seeded contents. */
inline ByteVector makeProgramDump (int bank, int slot, unsigned seed = 1, int opcode = 0)
{
    std::mt19937 rng (seed);
    UnpackedProgram program (sysex::programUnpackedLength);
    for (auto& b : program)
        b = (std::uint8_t) (rng() & 0x7F);
    program[0] = 166;
    program[1] = 10;
    return opcode == 0 ? buildProgramDump (program, 0, bank, slot) : buildProgramDump (program, opcode, 0);
}

/** The editor as a load sees it: every call recorded. */
struct RecordingLoadHost final : DocumentLoadHost
{
    int bank = 0, slot = 0;
    std::map<std::string, int> controls; // id -> value, only ids that exist
    bool canShowMix = true;

    std::vector<std::string> lines;
    std::map<std::pair<int, int>, std::string> names, notes;
    std::map<std::pair<int, int>, std::vector<std::string>> tags;
    std::map<std::pair<int, int>, juce::var> snapshots, wedges, toolData;
    std::vector<std::pair<int, int>> clearedSysEx, editorSnapshots;
    std::vector<ByteVector> appliedDumps;
    std::vector<std::string> mixTitles;
    std::vector<juce::File> recorded;
    int calls = 0;

    int currentBank() const override { return bank; }
    int currentSlot() const override { return slot; }
    std::string bankLabel (int b) const override
    {
        static const char* labels[] = { "USER", "PRESET1", "PRESET2", "MIX (USER)", "MIX (PRESET)" };
        return labels[b];
    }
    void loadTagTable() override { ++calls; }
    void setSlotName (int b, int s, const std::string& n) override { ++calls, names[{ b, s }] = n; }
    void setSlotTags (int b, int s, const std::vector<std::string>& t) override { ++calls, tags[{ b, s }] = t; }
    void setSlotNotes (int b, int s, const std::string& n) override { ++calls, notes[{ b, s }] = n; }
    void setWedgePreset (int b, int s, const juce::var& w) override { ++calls, wedges[{ b, s }] = w; }
    void setSnapshot (int b, int s, const juce::var& p) override { ++calls, snapshots[{ b, s }] = p; }
    void takeSnapshotFromEditor (int b, int s) override { ++calls, editorSnapshots.push_back ({ b, s }); }
    void clearProgramSysEx (int b, int s) override { ++calls, clearedSysEx.push_back ({ b, s }); }
    void applyProgramDump (int, int, const ByteVector& d, const DecodedProgramValues&) override
    {
        ++calls, appliedDumps.push_back (d);
    }
    bool setControlValue (const std::string& id, int raw) override
    {
        ++calls;
        const auto it = controls.find (id);
        if (it == controls.end())
            return false;
        it->second = raw;
        return true;
    }
    bool showMixPayload (const MixPayload&, const std::string& title) override
    {
        ++calls, mixTitles.push_back (title);
        return canShowMix;
    }
    void applyToolData (int b, int s, const juce::var& t) override { ++calls, toolData[{ b, s }] = t; }
    void recordDocumentPath (int, int, const juce::File& f) override { ++calls, recorded.push_back (f); }
    void log (const std::string& line) override { lines.push_back (line); }
};

} // namespace orvo::testing
