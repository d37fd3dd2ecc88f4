// Drives scripts/kill-during-saves.sh: behaves like the editor starting up (clearing leftovers of
// killed saves) and then saving one large document over and over.
//
// usage: orvo_save_loop FILE BYTES [WRITES]
//   Removes leftover temporary files beside FILE, then writes FILE WRITES times (forever when
//   WRITES is left out), alternating BYTES bytes of 'a' and BYTES + 1 bytes of 'b'.
//   WRITES 0 only clears the leftovers.

#include "library/AtomicFile.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main (int argc, char** argv)
{
    if (argc < 3 || argc > 4)
    {
        std::cerr << "usage: orvo_save_loop FILE BYTES [WRITES]\n";
        return 2;
    }
    const juce::File file (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const auto bytes = (size_t)std::strtoull (argv[2], nullptr, 10);
    const long long writes = argc == 4 ? std::strtoll (argv[3], nullptr, 10) : -1;

    orvo::removeLeftoverTemporaryFiles (file.getParentDirectory());

    const std::string versions[]{ std::string (bytes, 'a'), std::string (bytes + 1, 'b') };
    for (long long i = 0; writes < 0 || i < writes; ++i)
    {
        const auto result = orvo::writeFileAtomically (file, versions[i % 2]);
        if (!result)
        {
            std::cerr << result.error << "\n";
            return 1;
        }
    }
    return 0;
}
