#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

// The writer talks to the POSIX calls directly (Linux and macOS): only they tell which step failed
// and why, and only they can flush the folder that holds the new name.

namespace orvo
{
namespace
{
namespace fs = std::filesystem;

constexpr const char* temporarySuffix = ".tmp";
constexpr size_t maxStampDigits = 16; // a 64-bit random number in hex

std::string describe (const fs::path& p)
{
    return p.u8string();
}

std::string systemError (int error)
{
    return std::strerror (error != 0 ? error : EIO);
}

// Unique per call, so two writers of one folder never share a temporary file.
// removeLeftoverTemporaryFiles() recognises exactly this name.
fs::path temporarySibling (const fs::path& target)
{
    const auto stamp = juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()).toStdString();
    return target.parent_path() / fs::u8path ("." + target.filename().u8string() + "." + stamp + temporarySuffix);
}

bool isTemporaryFileName (const std::string& name)
{
    const size_t suffix = std::strlen (temporarySuffix);
    if (name.size() < 1 + suffix || name[0] != '.' || name.compare (name.size() - suffix, suffix, temporarySuffix) != 0)
        return false;
    const auto middle = name.substr (1, name.size() - 1 - suffix); // NAME.STAMP
    const auto dot = middle.rfind ('.');
    if (dot == std::string::npos || dot == 0)
        return false;
    const auto stamp = middle.substr (dot + 1);
    return !stamp.empty() && stamp.size() <= maxStampDigits &&
           stamp.find_first_not_of ("0123456789abcdef") == std::string::npos;
}

// Saving through a link writes the file it points to, so the link stays a link. A dangling link
// names the file to create; a loop is left unresolved and fails at the rename.
fs::path followLinks (fs::path p)
{
    for (int hops = 0; hops < 40; ++hops)
    {
        std::error_code ec;
        if (!fs::is_symlink (fs::symlink_status (p, ec)))
            return p;
        const auto link = fs::read_symlink (p, ec);
        if (ec)
            return p;
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p;
}

// Without this a power loss right after the rename can bring back the old name. Failure is not
// reported: the bytes are already in place, and some file systems refuse fsync on a folder.
void flushFolder (const fs::path& folder, const FileSystemCalls& calls)
{
    const int fd = ::open (folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)calls.fsync (fd);
    ::close (fd);
}

long systemWrite (int fd, const void* data, std::size_t size)
{
    return (long)::write (fd, data, size);
}
int systemFsync (int fd)
{
    return ::fsync (fd);
}
int systemRename (const char* from, const char* to)
{
    return ::rename (from, to);
}

/** Writes all of `bytes` to `fd`; 0 on success, else the errno of the step that failed. */
int writeAll (int fd, const std::string& bytes, const FileSystemCalls& calls)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        errno = 0;
        const long n = calls.write (fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) // a write that takes nothing would loop forever; the disk is full in practice
            return n == 0 || errno == 0 ? ENOSPC : errno;
        done += (size_t)n;
    }
    return calls.fsync (fd) == 0 ? 0 : errno;
}
} // namespace

const FileSystemCalls& FileSystemCalls::system()
{
    static const FileSystemCalls calls{ systemWrite, systemFsync, systemRename };
    return calls;
}

WriteResult writeFileAtomically (const juce::File& given, const std::string& bytes, const FileSystemCalls& calls)
{
    if (given.getFullPathName().isEmpty())
        return { false, "no file name was given" };

    const auto target = followLinks (fs::u8path (given.getFullPathName().toStdString()));
    std::error_code ec;
    if (fs::is_directory (target, ec))
        return { false, describe (target) + " is a folder" };

    const auto folder = target.parent_path();
    if (!fs::is_directory (folder, ec))
    {
        fs::create_directories (folder, ec);
        if (!fs::is_directory (folder))
            return { false, "could not create folder " + describe (folder) + (ec ? ": " + ec.message() : "") };
    }

    const auto temp = temporarySibling (target);
    const int fd = ::open (temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return { false, "could not create " + describe (temp) + ": " + systemError (errno) };

    int error = writeAll (fd, bytes, calls);
    if (::close (fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && calls.rename (temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
    {
        (void)::unlink (temp.c_str());
        return { false, "could not write " + describe (target) + ": " + systemError (error) };
    }

    flushFolder (folder, calls);
    (void)removeLeftoverTemporaryFiles (juce::File (juce::CharPointer_UTF8 (folder.u8string().c_str())));
    return { true, {} };
}

WriteResult writeTextFileAtomically (const juce::File& target, const juce::String& text)
{
    return writeFileAtomically (target, text.toStdString());
}

int removeLeftoverTemporaryFiles (const juce::File& folder)
{
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it (fs::u8path (folder.getFullPathName().toStdString()), ec), end; !ec && it != end;
         it.increment (ec))
    {
        std::error_code statusError;
        if (isTemporaryFileName (it->path().filename().u8string()) &&
            fs::is_regular_file (it->symlink_status (statusError)) && fs::remove (it->path(), statusError))
            ++removed;
    }
    return removed;
}

} // namespace orvo
