#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <string>

namespace orvo
{

/** Outcome of a document write; `error` says in plain words what went wrong. */
struct WriteResult
{
    bool ok = false;
    std::string error;

    explicit operator bool() const { return ok; }
};

/** The system calls a write goes through, each returning -1 and setting errno on failure as the
    POSIX calls do. Tests pass their own to make one step fail with a chosen errno. */
struct FileSystemCalls
{
    long (*write) (int fd, const void* data, std::size_t size);
    int (*fsync) (int fd);
    int (*rename) (const char* from, const char* to);

    static const FileSystemCalls& system();
};

/** Replaces `target` with `bytes` so that a reader only ever sees the old file or the whole new one:
    the parent folder is created, the bytes go into a temporary file beside the target, every byte is
    checked, flushed to disk, the temporary file is renamed over the target and the folder is flushed
    so the new name survives a power loss. A symbolic link is followed: its target gets the new bytes
    and the link stays. On any failure the old file is left as it was, the temporary file is removed
    and `error` carries the system's own reason. After a good write, temporary files that earlier
    interrupted writes left in the folder are removed. */
WriteResult writeFileAtomically (const juce::File& target, const std::string& bytes,
                                 const FileSystemCalls& calls = FileSystemCalls::system());

/** Same, for text in UTF-8. */
WriteResult writeTextFileAtomically (const juce::File& target, const juce::String& text);

/** Removes from `folder` (not its subfolders) the temporary files that writes killed before their
    rename left behind. Only regular files named exactly as the writer names them are touched.
    Returns how many were removed. */
int removeLeftoverTemporaryFiles (const juce::File& folder);

} // namespace orvo
