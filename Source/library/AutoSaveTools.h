#pragma once

#include "platform/Clock.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** What the editor holds for one slot, as written back into its documents. */
struct SlotToolValues
{
    std::string name;
    std::string bankLabel; // the editor's label of the bank, e.g. "USER"
    std::string notes;
    std::vector<std::string> tags;
    juce::var toolData; // the slot's tool data object; void when the slot has none
};

/** What the editor holds for one bank. */
struct BankToolValues
{
    std::string displayName;
    std::string notes;
};

/** The editor state that the write-back reads. */
class AutoSaveToolsHost
{
public:
    virtual ~AutoSaveToolsHost() = default;
    virtual bool autoSaveEnabled() const = 0;
    virtual SlotToolValues slotValues (int bank, int slot) const = 0;
    virtual BankToolValues bankValues (int bank) const = 0;
    /** The Program document last loaded into or saved from the slot, if any. */
    virtual std::optional<juce::File> programFileOfSlot (int bank, int slot) const = 0;
    /** The Bank document last loaded into or saved from the bank, if any. */
    virtual std::optional<juce::File> bankFileOf (int bank) const = 0;
};

/** Writes a slot's name, notes, tags and tool data back into the Program and Bank documents it came
    from, 750 ms after the last change, so quick edits (typing notes) cost one write. */
class AutoSaveTools
{
public:
    using Log = std::function<void (const std::string&)>;

    static constexpr double debounceMs = 750.0;

    AutoSaveTools (const Clock& clock, const AutoSaveToolsHost& host, Log log);

    /** A change to the tool data of (bank, slot); ignored while auto save is off or while tool data
        is being applied from a document or pasted settings. */
    void markSlotDirty (int bank, int slot);
    /** The display name or notes of a bank changed. */
    void markBankDirty (int bank);

    /** Called by the editor's periodic timer: flushes once the last change is old enough. */
    void tick();
    /** Writes every dirty slot and bank now. */
    void flush();

    bool isPending() const { return pending; }
    const std::vector<std::pair<int, int>>& dirtySlots() const { return slots; }

    /** While one of these lives, changes come from a document or a paste and are not written back. */
    class ScopedApplyingToolData
    {
    public:
        explicit ScopedApplyingToolData (AutoSaveTools& t) : tools (t) { ++tools.applyingDepth; }
        ~ScopedApplyingToolData() { --tools.applyingDepth; }
        ScopedApplyingToolData (const ScopedApplyingToolData&) = delete;
        ScopedApplyingToolData& operator= (const ScopedApplyingToolData&) = delete;

    private:
        AutoSaveTools& tools;
    };

private:
    bool accepting() const;
    void touch();
    void updateProgramFile (const juce::File& file, int bank, int slot);
    void updateBankFile (const juce::File& file, int bank, const std::vector<int>& dirtySlotsOfBank, bool bankChanged);
    void logLine (const std::string& text) const;

    const Clock& clock;
    const AutoSaveToolsHost& host;
    Log log;

    std::vector<std::pair<int, int>> slots;
    std::set<int> banks;
    bool pending = false;
    double lastChangeMs = 0.0;
    int applyingDepth = 0;
};

} // namespace orvo
