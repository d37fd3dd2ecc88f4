#include "MainWindow.h"
#include "engine/DocumentOpener.h"
#include "engine/EditorCommandLine.h"
#include "platform/InstanceChannel.h"

#include <iostream>
#include <mutex>

namespace orvo
{
namespace
{
// Set by main() before the application object exists.
EditorCommandLine startCommandLine;
std::unique_ptr<InstanceChannel> instanceChannel;
// Hand-offs that arrive before the window exists wait here; the channel listens from the first
// moment so that a second start never finds the name taken and nobody answering.
std::mutex handOffLock;
std::vector<std::string> earlyHandOffs;
bool windowReady = false;

void deliverHandOff (const std::string& message)
{
    juce::MessageManager::callAsync (
        [message]
        {
            if (auto* app = juce::JUCEApplicationBase::getInstance())
                app->anotherInstanceStarted (juce::String::fromUTF8 (message.c_str()));
        });
}
} // namespace

class OrvoPocApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Orvo Editor"; }
    const juce::String getApplicationVersion() override { return ORVO_VERSION; }
    // One editor owns the working environment, the library's saves and the MIDI ports. main() has
    // already handed a second start's documents to the first through InstanceChannel, which works
    // where JUCE's own hand-off does not (it never reaches the running editor on Linux).
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override
    {
        MainComponent::Options options;
        options.useVirtualOrvo = startCommandLine.useVirtualOrvo;
        options.virtualOrvoAtWireRate = startCommandLine.virtualOrvoAtWireRate;
        mainWindow = std::make_unique<MainWindow> (getApplicationName(), options);
        if (auto* editor = mainWindow->editor())
        {
            auto& session = editor->getSession();
            opener = std::make_unique<DocumentOpener> (session.librarian(), session.engine().services().prompts,
                                                       [&session] (const std::string& line)
                                                       { session.engine().logLine (line); });
        }
        if (startCommandLine.writeLayout != juce::File())
        {
            juce::MessageManager::callAsync ([this] {
                auto* editor = mainWindow != nullptr ? mainWindow->editor() : nullptr;
                const auto& file = startCommandLine.writeLayout;
                if (editor != nullptr && editor->writeLayoutOfEveryItem (file))
                    std::cout << file.getFullPathName() << "\n";
                else
                {
                    std::cerr << "OrvoEditor: could not write the layout to " << file.getFullPathName() << "\n";
                    setApplicationReturnValue (1);
                }
                if (editor != nullptr)
                    for (const auto& id : editor->getLayout().duplicateIds())
                    {
                        std::cerr << "DUPLICATE ID: " << id << "\n";
                        setApplicationReturnValue (1);
                    }
                quit();
            });
            return;
        }
        // Opened once the window is on screen, so its questions have somewhere to appear.
        juce::MessageManager::callAsync ([this] { openDocuments (startCommandLine.documents); });
        const std::lock_guard<std::mutex> lock (handOffLock);
        windowReady = true;
        for (const auto& message : earlyHandOffs)
            deliverHandOff (message);
        earlyHandOffs.clear();
    }

    void shutdown() override
    {
        instanceChannel = nullptr;
        opener = nullptr;
        mainWindow = nullptr;
    }

    /** A later start on this display: its documents (one absolute path per line) open here. */
    void anotherInstanceStarted (const juce::String& message) override
    {
        if (mainWindow == nullptr)
            return;
        mainWindow->toFront (true);
        openDocuments (EditorCommandLine::documentsFromHandOff (message.toStdString()));
    }

    /** The window's close button, Ctrl+Q and QUIT: unsaved Program edits are asked about first. */
    void systemRequestedQuit() override
    {
        auto* editor = mainWindow != nullptr ? mainWindow->editor() : nullptr;
        if (editor == nullptr)
            return quit();
        editor->getSession().unsavedChanges().confirm ("quitting", [] { juce::JUCEApplication::quit(); });
    }

private:
    void openDocuments (const std::vector<juce::File>& documents)
    {
        if (opener != nullptr)
            for (const auto& file : documents)
                opener->open (file);
    }

    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<DocumentOpener> opener;
};

} // namespace orvo

JUCE_CREATE_APPLICATION_DEFINE (orvo::OrvoPocApplication)

int main (int argc, char* argv[])
{
    using namespace orvo;
    // Help, version and usage errors are answered before JUCE starts, so they need no display.
    startCommandLine = EditorCommandLine::parse (std::vector<std::string> (argv + 1, argv + argc),
                                                 juce::File::getCurrentWorkingDirectory());
    if (startCommandLine.showHelp)
        return std::cout << EditorCommandLine::helpText(), 0;
    if (startCommandLine.showVersion)
        return std::cout << EditorCommandLine::versionText(), 0;
    if (startCommandLine.showManPage)
        return std::cout << EditorCommandLine::manPage(), 0;
    if (!startCommandLine.error.empty())
        return std::cerr << startCommandLine.error, 2;

    if (startCommandLine.writeLayout != juce::File())
    {
        // Writing the layout is a job of its own; it never hands over to a running editor.
        juce::JUCEApplicationBase::createInstance = &juce_CreateApplication;
        return juce::JUCEApplicationBase::main (argc, (const char**)argv);
    }
    const auto channelName = InstanceChannel::sessionName();
    instanceChannel = std::make_unique<InstanceChannel> (channelName);
    const bool first = instanceChannel->listen (
        [] (const std::string& message)
        {
            const std::lock_guard<std::mutex> lock (handOffLock);
            if (windowReady)
                deliverHandOff (message);
            else
                earlyHandOffs.push_back (message);
        });
    if (!first)
    {
        instanceChannel = nullptr;
        if (InstanceChannel::send (channelName, startCommandLine.handOffMessage(), 5000))
            return 0;
        std::cerr << "OrvoEditor: an Orvo Editor is already running on this display but did not take the "
                     "documents.\n";
        return 1;
    }

    juce::JUCEApplicationBase::createInstance = &juce_CreateApplication;
    return juce::JUCEApplicationBase::main (argc, (const char**)argv);
}
