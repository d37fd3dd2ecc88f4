#include "LibraryTestSupport.h"
#include "library/AtomicFile.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
std::string binaryBytes (size_t size)
{
    std::string bytes (size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char)(i * 37 % 256); // includes 0x00, 0xF0 and 0xF7
    return bytes;
}

std::string fileBytes (const juce::File& f)
{
    juce::MemoryBlock block;
    f.loadFileAsData (block);
    return std::string ((const char*)block.getData(), block.getSize());
}
} // namespace

TEST (AtomicFile, WritesEveryByteCreatesTheMissingParentFoldersAndReplacesALongerFileWhole)
{
    TemporaryFolder temp;
    const auto target = temp.get().getChildFile ("Programs/Sub/Bass.orvop");
    const auto bytes = binaryBytes (70'000); // larger than the stream's buffer

    const auto result = writeFileAtomically (target, bytes);

    ASSERT_TRUE (result.ok) << result.error;
    EXPECT_EQ (fileBytes (target), bytes);
    EXPECT_EQ (allChildNames (target.getParentDirectory()), std::vector<std::string>{ "Bass.orvop" })
        << "no temporary file is left behind";

    // A shorter text replaces the whole file.
    ASSERT_TRUE (writeTextFileAtomically (target, "{}"));
    EXPECT_EQ (readText (target), "{}");
}

TEST (AtomicFile, FailsWithAMessageAndChangesNothingWhenTheTargetCannotBeWritten)
{
    TemporaryFolder temp;
    const auto aFile = writeText (temp / "notes.txt", "keep me");
    const auto aFolder = temp / "Layouts";
    aFolder.getChildFile ("inside.layout.json").create();

    const std::pair<const char*, juce::File> cases[]{
        { "a path under a file", aFile.getChildFile ("Bass.orvop") },
        { "a path two levels under a file", aFile.getChildFile ("Sub/Bass.orvop") },
        { "a folder in the way", aFolder },
        { "no path at all", juce::File() },
    };

    for (const auto& [what, target] : cases)
    {
        const auto result = writeFileAtomically (target, "new bytes");
        EXPECT_FALSE (result.ok) << what;
        EXPECT_FALSE (result.error.empty()) << what;
    }
    EXPECT_EQ (readText (aFile), "keep me");
    EXPECT_TRUE (aFolder.getChildFile ("inside.layout.json").existsAsFile());
    EXPECT_EQ (allChildNames (temp.get()), (std::vector<std::string>{ "Layouts", "notes.txt" }));
}

#if ORVO_HAS_FILE_SIZE_LIMIT
TEST (AtomicFile, KeepsTheOldFileWhenTheDiskFillsUpDuringTheWrite)
{
    TemporaryFolder temp;
    const auto target = writeText (temp / "Bank.orvob", "old bank");

    for (const size_t size : { (size_t)4096, (size_t)70'000 }) // within and beyond the stream's buffer
    {
        WriteResult result;
        {
            ScopedFileSizeLimit full (1024);
            result = writeFileAtomically (target, binaryBytes (size));
        }
        EXPECT_FALSE (result.ok) << size;
        EXPECT_NE (result.error.find (target.getFullPathName().toStdString()), std::string::npos) << result.error;
        EXPECT_EQ (readText (target), "old bank") << size;
        EXPECT_EQ (allChildNames (temp.get()), std::vector<std::string>{ "Bank.orvob" })
            << "the partial temporary file is removed";
    }
}
#endif
