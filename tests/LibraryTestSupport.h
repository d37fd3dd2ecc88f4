#pragma once

#include <juce_core/juce_core.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#if JUCE_LINUX || JUCE_MAC
#include <csignal>
#include <sys/resource.h>
#endif

namespace orvo::testing
{

/** A fresh folder under the system's temporary folder, removed with everything in it. */
class TemporaryFolder
{
public:
    // A fresh name each time: the tests run in parallel processes, which must never share a folder.
    TemporaryFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("orvo-library-test-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }
    ~TemporaryFolder() { folder.deleteRecursively(); }

    TemporaryFolder (const TemporaryFolder&) = delete;
    TemporaryFolder& operator= (const TemporaryFolder&) = delete;

    const juce::File& get() const { return folder; }
    juce::File operator/ (const char* child) const { return folder.getChildFile (child); }

private:
    juce::File folder;
};

inline juce::File writeText (const juce::File& file, const std::string& text)
{
    file.getParentDirectory().createDirectory();
    file.replaceWithText (juce::String (juce::CharPointer_UTF8 (text.c_str())), false, false, "\n");
    return file;
}

inline std::string readText (const juce::File& file)
{
    return file.loadFileAsString().toStdString();
}

inline std::string pathOf (const juce::File& file)
{
    return file.getFullPathName().toStdString();
}

/** The keys of a JSON object in their order. */
inline std::vector<std::string> keysOf (const juce::var& object)
{
    std::vector<std::string> keys;
    if (auto* o = object.getDynamicObject())
        for (const auto& p : o->getProperties())
            keys.push_back (p.name.toString().toStdString());
    return keys;
}

/** A JSON object with its keys in the order given. */
inline juce::var jsonObject (std::initializer_list<std::pair<const char*, juce::var>> properties)
{
    auto* o = new juce::DynamicObject();
    for (const auto& [key, value] : properties)
        o->setProperty (key, value);
    return juce::var (o);
}

inline juce::var objectWith (const char* key, const juce::var& value)
{
    return jsonObject ({ { key, value } });
}

/** "a b c" as { "a", "b", "c" }: key lists read as one line. */
inline std::vector<std::string> words (const std::string& text)
{
    std::istringstream in (text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back (w);
    return out;
}

/** Names of everything directly in a folder, sorted. */
inline std::vector<std::string> childNames (const juce::File& folder)
{
    std::vector<std::string> names;
    for (const auto& f :
         folder.findChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false))
        names.push_back (f.getFileName().toStdString());
    std::sort (names.begin(), names.end());
    return names;
}

inline std::vector<std::string> allChildNames (const juce::File& folder)
{
    std::vector<std::string> names;
    for (const auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
        names.push_back (f.getFileName().toStdString());
    std::sort (names.begin(), names.end());
    return names;
}

#if JUCE_LINUX || JUCE_MAC
#define ORVO_HAS_FILE_SIZE_LIMIT 1
/** Makes the disk "full" for this process: writes past `bytes` in any file fail, as they would on a
    full disk, even for a user whom folder permissions do not stop. */
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit (rlim_t bytes)
    {
        oldHandler = std::signal (SIGXFSZ, SIG_IGN);
        getrlimit (RLIMIT_FSIZE, &old);
        rlimit limited = old;
        limited.rlim_cur = bytes;
        setrlimit (RLIMIT_FSIZE, &limited);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &old);
        std::signal (SIGXFSZ, oldHandler);
    }

private:
    rlimit old{};
    void (*oldHandler) (int) = nullptr;
};
#endif

} // namespace orvo::testing
