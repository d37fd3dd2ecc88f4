// One libFuzzer binary per target; the build names the entry with ORVO_FUZZ_ENTRY.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    orvo::fuzz::ORVO_FUZZ_ENTRY (data, size);
    return 0;
}
