#pragma once

#include "BankDocument.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** One slot of a bank read from the instrument. */
struct ReceivedBankSlot
{
    int slot = 0;
    std::string name;
    ByteVector dump; // the stored Program dump as received
};

/** What writing a bank read did. */
struct BankSyncWriteResult
{
    int programsSaved = 0;
    int duplicatesSkipped = 0;
    std::optional<juce::File> bankFile;
};

/** Writes a bank read from the instrument into the library: one Program document per received slot in
    `programsFolder` (a slot whose name an earlier slot of the read already took is not written again
    and is marked as a collision), then a Bank document in `banksFolder` whose slot entries name those
    files. The state's slots of `bank` should already hold the received names and dumps. A Program
    document of the same name that is not this slot's earlier bank-sync document is never overwritten:
    the new one takes the next free name. Logs the summary lines; every file is written atomically. */
BankSyncWriteResult writeBankSyncResult (const LibrarianState& state, int bank,
                                         const std::vector<ReceivedBankSlot>& received,
                                         const juce::File& programsFolder, const juce::File& banksFolder,
                                         juce::Time now, const LibrarianLog& log);

} // namespace orvo
