#pragma once

#include "WorkingEnvironment.h"
#include "platform/UserInteraction.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** The "SAVE BANK", "LOAD BANK", "SAVE ENVIRONMENT" and "LOAD ENVIRONMENT" menu flows. Dialogs go
    through the Prompts and FileDialogs seams; every outcome is a log line. */
class BankEnvironmentFlows
{
public:
    BankEnvironmentFlows (LibrarianState& state, const LibraryRoot& library, WorkingEnvironment& working,
                          FileDialogs& dialogs, Prompts& prompts, const Clock& clock, LibrarianLog log);

    void saveBank();
    void loadBank();
    void saveEnvironment();
    void loadEnvironment();

    /** The steps after the file dialogs, for callers that already have the file (tests, SysEx import). */
    bool saveBankTo (const juce::File& file);
    void loadBankFile (const juce::File& file);
    bool saveEnvironmentTo (const juce::File& file);
    bool loadEnvironmentFile (const juce::File& file);

    /** Whether an instrument MIDI output is open (decides whether a Program bank offers a transfer). */
    std::function<bool()> midiOutputOpen;
    /** Refreshes the current slot's parameter snapshot from the editor before a document is built. */
    std::function<void()> refreshCurrentSnapshot;
    /** Shows the state after a load. */
    std::function<void()> refreshViews;
    /** Loads the tag association table before tags of a loaded bank are stored. */
    std::function<void()> loadTagTable;
    /** Sends a loaded bank's dumps to Program bank 0..2; while unset, the choice is only logged. */
    std::function<void (int targetBank, const std::vector<std::pair<int, ByteVector>>& dumps)> startBankTransfer;

    /** The dumps of the last loaded Program bank, kept until its transfer question is answered. */
    const std::vector<std::pair<int, ByteVector>>& pendingTransferDumps() const { return pendingDumps; }

private:
    void chooseBankFile();
    void logLine (const std::string& line) const;
    void loadBankLocallyAndReport (const juce::var& root, const std::string& kind, const juce::File& file);
    void answerTransfer (int choice);

    LibrarianState& state;
    const LibraryRoot& library;
    WorkingEnvironment& working;
    FileDialogs& dialogs;
    Prompts& prompts;
    const Clock& clock;
    LibrarianLog log;
    std::vector<std::pair<int, ByteVector>> pendingDumps;
};

} // namespace orvo
