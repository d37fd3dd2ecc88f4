#include "AtomicFile.h"

#include <filesystem>
#include <system_error>

namespace orvo
{
namespace
{
std::filesystem::path toPath (const juce::File& f)
{
    return std::filesystem::u8path (f.getFullPathName().toStdString());
}

std::string describe (const juce::File& f)
{
    return f.getFullPathName().toStdString();
}

// Unique per call, so two writers of one folder never share a temporary file.
juce::File temporarySibling (const juce::File& target)
{
    const auto stamp = juce::String::toHexString (juce::Random::getSystemRandom().nextInt64());
    return target.getSiblingFile ("." + target.getFileName() + "." + stamp + ".tmp");
}
} // namespace

WriteResult writeFileAtomically (const juce::File& target, const std::string& bytes)
{
    if (target.getFullPathName().isEmpty())
        return { false, "no file name was given" };
    if (target.isDirectory())
        return { false, describe (target) + " is a folder" };

    const auto folder = target.getParentDirectory();
    if (!folder.isDirectory())
    {
        const auto created = folder.createDirectory();
        if (created.failed() || !folder.isDirectory())
            return { false, "could not create folder " + describe (folder) };
    }

    const auto temp = temporarySibling (target);
    WriteResult failure;
    {
        juce::FileOutputStream out (temp);
        if (out.failedToOpen())
            return { false,
                     "could not create " + describe (temp) + ": " + out.getStatus().getErrorMessage().toStdString() };

        const bool written = out.write (bytes.data(), bytes.size());
        out.flush(); // also syncs the file to disk
        const auto status = out.getStatus();
        if (!written || status.failed() || out.getPosition() != (juce::int64)bytes.size())
        {
            failure = { false, "could not write " + describe (target) + ": " +
                                   (status.failed() ? status.getErrorMessage().toStdString()
                                                    : std::string ("not every byte was written")) };
        }
    }

    if (!failure.error.empty())
    {
        temp.deleteFile();
        return failure;
    }

    if (temp.getSize() != (juce::int64)bytes.size())
    {
        temp.deleteFile();
        return { false, "could not write " + describe (target) + ": the written file is short" };
    }

    // std::filesystem::rename replaces an existing target in one step (rename(2), MoveFileEx with
    // replace), unlike File::moveFileTo, which deletes the target first.
    std::error_code ec;
    std::filesystem::rename (toPath (temp), toPath (target), ec);
    if (ec)
    {
        temp.deleteFile();
        return { false, "could not replace " + describe (target) + ": " + ec.message() };
    }
    return { true, {} };
}

WriteResult writeTextFileAtomically (const juce::File& target, const juce::String& text)
{
    return writeFileAtomically (target, text.toStdString());
}

} // namespace orvo
