#pragma once

#include <juce_core/juce_core.h>

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

/** Replaces `target` with `bytes` so that a reader only ever sees the old file or the whole new one:
    the parent folder is created, the bytes go into a temporary file beside the target, every byte is
    checked, flushed to disk, and the temporary file is renamed over the target. On any failure the
    old file is left as it was and the temporary file is removed. */
WriteResult writeFileAtomically (const juce::File& target, const std::string& bytes);

/** Same, for text in UTF-8. */
WriteResult writeTextFileAtomically (const juce::File& target, const juce::String& text);

} // namespace orvo
