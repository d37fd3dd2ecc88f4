#include "LibraryTestSupport.h"
#include "library/AtomicFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

// What the write below saw, step by step; the calls a test passes in record into it.
std::vector<std::string> steps;

bool isFolder (int fd)
{
    struct stat st
    {
    };
    return ::fstat (fd, &st) == 0 && S_ISDIR (st.st_mode);
}

long recordWrite (int fd, const void* data, std::size_t size)
{
    steps.push_back ("write");
    return FileSystemCalls::system().write (fd, data, std::min<std::size_t> (size, 1000)); // short writes
}
int recordFsync (int fd)
{
    steps.push_back (isFolder (fd) ? "fsync folder" : "fsync file");
    return FileSystemCalls::system().fsync (fd);
}
int recordRename (const char* from, const char* to)
{
    steps.push_back ("rename");
    return FileSystemCalls::system().rename (from, to);
}

template <int error> long failWrite (int, const void*, std::size_t)
{
    errno = error;
    return -1;
}
template <int error> long failSecondWrite (int fd, const void* data, std::size_t size)
{
    steps.push_back ("write");
    if (steps.size() == 1)
        return FileSystemCalls::system().write (fd, data, size / 2);
    return failWrite<error> (fd, data, size);
}
template <int error> int failFsync (int fd)
{
    if (isFolder (fd))
        return 0;
    errno = error;
    return -1;
}
template <int error> int failRename (const char*, const char*)
{
    errno = error;
    return -1;
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
        EXPECT_NE (result.error.find (std::strerror (EFBIG)), std::string::npos) << result.error;
        EXPECT_EQ (readText (target), "old bank") << size;
        EXPECT_EQ (allChildNames (temp.get()), std::vector<std::string>{ "Bank.orvob" })
            << "the partial temporary file is removed";
    }
}
#endif

TEST (AtomicFile, FlushesTheFileBeforeTheRenameAndTheFolderAfterIt)
{
    TemporaryFolder temp;
    const auto target = writeText (temp / "Mix.orvom", "old");
    steps.clear();

    ASSERT_TRUE (writeFileAtomically (target, binaryBytes (2500), { recordWrite, recordFsync, recordRename }));

    EXPECT_EQ (steps, (std::vector<std::string>{ "write", "write", "write", "fsync file", "rename", "fsync folder" }));
    EXPECT_EQ (fileBytes (target), binaryBytes (2500)) << "short writes are continued";
}

TEST (AtomicFile, ReportsTheSystemsReasonWhenAStepFailsAndKeepsTheOldFile)
{
    struct Case
    {
        const char* what;
        FileSystemCalls calls;
        int error;
    };
    const auto& sys = FileSystemCalls::system();
    const Case cases[]{
        { "disk full at once", { failWrite<ENOSPC>, sys.fsync, sys.rename }, ENOSPC },
        { "disk full after part", { failSecondWrite<ENOSPC>, sys.fsync, sys.rename }, ENOSPC },
        { "flush", { sys.write, failFsync<EIO>, sys.rename }, EIO },
        { "rename", { sys.write, sys.fsync, failRename<EXDEV> }, EXDEV },
    };
    for (const auto& c : cases)
    {
        TemporaryFolder temp;
        const auto target = writeText (temp / "Bank.orvob", "old bank");
        steps.clear();

        const auto result = writeFileAtomically (target, binaryBytes (70'000), c.calls);

        EXPECT_FALSE (result.ok) << c.what;
        EXPECT_EQ (result.error, "could not write " + pathOf (target) + ": " + std::strerror (c.error)) << c.what;
        EXPECT_EQ (readText (target), "old bank") << c.what;
        EXPECT_EQ (allChildNames (temp.get()), std::vector<std::string>{ "Bank.orvob" }) << c.what;
    }
}

TEST (AtomicFile, WritesTheFileALinkPointsToAndKeepsTheLink)
{
    namespace fs = std::filesystem;
    const std::pair<const char*, const char*> cases[]{
        // link in Programs -> what it points to, relative to Programs
        { "relative", "../Real/Bass.orvop" },
        { "absolute", "" }, // filled in below: the absolute path of Real/Bass.orvop
        { "link to a link", "../Real/Alias.orvop" },
        { "dangling", "../Real/New.orvop" },
    };
    for (const auto& [what, pointsTo] : cases)
    {
        TemporaryFolder temp;
        const auto real = writeText (temp / "Real/Bass.orvop", "old");
        const fs::path realFolder (pathOf (temp / "Real"));
        fs::create_symlink ("Bass.orvop", realFolder / "Alias.orvop");
        (temp / "Programs").createDirectory();
        const fs::path link (pathOf (temp / "Programs/Bass.orvop"));
        fs::create_symlink (*pointsTo != 0 ? fs::path (pointsTo) : fs::path (pathOf (real)), link);
        const auto written = std::string (what) == "dangling" ? temp / "Real/New.orvop" : real;

        const auto result = writeFileAtomically (juce::File (link.string()), "new");

        ASSERT_TRUE (result.ok) << what << ": " << result.error;
        EXPECT_TRUE (fs::is_symlink (link)) << what;
        EXPECT_EQ (readText (written), "new") << what;
        EXPECT_EQ (allChildNames (temp / "Programs"), std::vector<std::string>{ "Bass.orvop" }) << what;
        EXPECT_EQ (allChildNames (temp / "Real").size(), std::string (what) == "dangling" ? 3u : 2u)
            << what << ": no temporary file is left beside the target";
    }
}

TEST (AtomicFile, RemovesOnlyItsOwnLeftoverTemporaryFilesAtStartUpAndAtTheNextSave)
{
    // clang-format off
    const std::vector<std::string> leftovers{
        ".Bass.orvop.1a2b3c4d5e6f7a8b.tmp", ".Bass.orvop.f.tmp", ".A.layout.json.0123456789abcdef.tmp",
    };
    const std::vector<std::string> others{
        "Bass.orvop", ".Bass.orvop.tmp", ".Bass.orvop.1A2B.tmp", ".Bass.orvop.12345678901234567.tmp",
        ".Bass.orvop.12g4.tmp", "Bass.orvop.1a2b.tmp", "..1a2b.tmp", ".Bass.orvop.1a2b.tmp.bak", ".1a2b.tmp",
    };
    // clang-format on
    const std::pair<const char*, std::function<void (const juce::File&)>> triggers[]{
        { "start-up", [] (const juce::File& folder) { removeLeftoverTemporaryFiles (folder); } },
        { "next save",
          [] (const juce::File& folder) { writeFileAtomically (folder.getChildFile ("Pad.orvop"), "x"); } },
    };
    for (const auto& [when, trigger] : triggers)
    {
        TemporaryFolder temp;
        const auto folder = temp / "Programs";
        for (const auto& names : { leftovers, others })
            for (const auto& name : names)
                writeText (folder.getChildFile (name), "partial");
        // Names that match but are no files of ours: a folder, and a link whose target must survive.
        folder.getChildFile (".Sub.1a2b.tmp").createDirectory();
        const auto outside = writeText (temp / "outside.txt", "keep");
        std::filesystem::create_symlink (pathOf (outside), pathOf (folder.getChildFile (".Link.1a2b.tmp")));

        trigger (folder);

        auto expected = others;
        expected.insert (expected.end(), { ".Link.1a2b.tmp", ".Sub.1a2b.tmp" });
        if (std::string (when) == "next save")
            expected.push_back ("Pad.orvop");
        std::sort (expected.begin(), expected.end());
        EXPECT_EQ (allChildNames (folder), expected) << when;
        EXPECT_EQ (readText (outside), "keep") << when;
    }
}
