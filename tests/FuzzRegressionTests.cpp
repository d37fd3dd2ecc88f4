#include "FuzzEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// Every input that once broke a parser, replayed through the entry its fuzz target uses; a crash, a
// sanitizer report or a hang here is the old fault come back.
TEST (FuzzRegressions, EveryKeptInputRunsThroughItsTarget)
{
    using Entry = void (*) (const std::uint8_t*, std::size_t);
    const std::pair<const char*, Entry> targets[] = {
        { "sysexFile", orvo::fuzz::sysexFile }, { "sysexImport", orvo::fuzz::sysexImport },
        { "programDecode", orvo::fuzz::programDecode },
        { "document", orvo::fuzz::document },   { "libraryHead", orvo::fuzz::libraryHead },
        { "midiInput", orvo::fuzz::midiInput }, { "editorState", orvo::fuzz::editorState },
        { "toolSettings", orvo::fuzz::toolSettings }, { "settingsFile", orvo::fuzz::settingsFile },
        { "userPreset", orvo::fuzz::userPreset }, { "layoutDocument", orvo::fuzz::layoutDocument },
    };
    for (const auto& [name, entry] : targets)
    {
        const fs::path folder = fs::path (ORVO_FUZZ_REGRESSIONS) / name;
        std::vector<fs::path> inputs;
        std::error_code ec;
        for (const auto& item : fs::directory_iterator (folder, ec))
            if (item.is_regular_file())
                inputs.push_back (item.path());
        std::sort (inputs.begin(), inputs.end());
        EXPECT_FALSE (inputs.empty()) << "no inputs in " << folder;

        for (const auto& path : inputs)
        {
            SCOPED_TRACE (path.string());
            std::ifstream in (path, std::ios::binary);
            const std::vector<std::uint8_t> bytes ((std::istreambuf_iterator<char> (in)),
                                                   std::istreambuf_iterator<char>());
            ASSERT_TRUE (in.is_open());
            entry (bytes.data(), bytes.size());
        }
    }
}
