#include "MainWindow.h"

#include <iostream>

namespace orvo
{

class OrvoPocApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Orvo Editor"; }
    const juce::String getApplicationVersion() override { return "0.11.0"; }
    // One editor owns the working environment, the library's saves and the MIDI ports; a second
    // start brings nothing but races over them.
    bool moreThanOneInstanceAllowed() override { return false; }

    void initialise (const juce::String& commandLine) override
    {
        const auto args = juce::StringArray::fromTokens (commandLine, true);
        if (args.contains ("--help") || args.contains ("-h"))
        {
            std::cout << "Usage: OrvoEditor [--virtual-orvo] [--wire-rate]\n\n"
                         "  --virtual-orvo  open the built-in Virtual Orvo's input and output at start,\n"
                         "                  instead of the MIDI ports remembered from the last session.\n"
                         "  --wire-rate     the Virtual Orvo answers at MIDI cable speed, as hardware does.\n"
                         "  --help          show this text.\n";
            quit();
            return;
        }
        MainComponent::Options options;
        options.useVirtualOrvo = args.contains ("--virtual-orvo");
        options.virtualOrvoAtWireRate = args.contains ("--wire-rate");
        mainWindow = std::make_unique<MainWindow> (getApplicationName(), options);
    }
    void shutdown() override { mainWindow = nullptr; }

    /** The window's close button, Ctrl+Q and QUIT: unsaved Program edits are asked about first. */
    void systemRequestedQuit() override
    {
        auto* editor = mainWindow != nullptr ? mainWindow->editor() : nullptr;
        if (editor == nullptr)
            return quit();
        editor->getSession().unsavedChanges().confirm ("quitting", [] { juce::JUCEApplication::quit(); });
    }

private:
    std::unique_ptr<MainWindow> mainWindow;
};

} // namespace orvo

START_JUCE_APPLICATION (orvo::OrvoPocApplication)
