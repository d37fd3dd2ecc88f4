#include "PlatformServices.h"

namespace orvo
{

void AlertPrompts::showChoice (const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
                               std::function<void (int)> onResult)
{
    // Built by hand: JUCE's message boxes stop at three buttons, and some questions have four.
    auto* window = new juce::AlertWindow (juce::String::fromUTF8 (title.c_str()), juce::String::fromUTF8 (message.c_str()),
                                          juce::MessageBoxIconType::NoIcon);
    const int count = (int) buttons.size();
    for (int i = 0; i < count; ++i)
        window->addButton (juce::String::fromUTF8 (buttons[(size_t) i].c_str()), i + 1,
                           i == 0 && count > 1 ? juce::KeyPress (juce::KeyPress::returnKey) : juce::KeyPress(),
                           i == count - 1 ? juce::KeyPress (juce::KeyPress::escapeKey) : juce::KeyPress());
    window->enterModalState (true, juce::ModalCallbackFunction::create ([onResult, count] (int result) {
                                 if (! onResult)
                                     return;
                                 if (count == 0)
                                     onResult (-1);
                                 else
                                     // Closing the window any other way counts as the last (declining) button.
                                     onResult (result >= 1 && result <= count ? result - 1 : count - 1);
                             }),
                             true);
}

void JuceFileDialogs::launch (const std::string& title, const std::string& initialPath, const std::string& patterns,
                              int flags, Result r)
{
    chooser = std::make_unique<juce::FileChooser> (title, juce::File (initialPath), patterns);
    chooser->launchAsync (flags, [r] (const juce::FileChooser& fc) {
        const auto file = fc.getResult();
        if (file == juce::File())
            r (std::nullopt);
        else
            r (file.getFullPathName().toStdString());
    });
}

void JuceFileDialogs::chooseFileToSave (const std::string& t, const std::string& p, const std::string& pat, Result r)
{
    launch (t, p, pat, juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles, std::move (r));
}

void JuceFileDialogs::chooseFileToOpen (const std::string& t, const std::string& p, const std::string& pat, Result r)
{
    launch (t, p, pat, juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles, std::move (r));
}

void JuceFileDialogs::chooseFolder (const std::string& t, const std::string& p, Result r)
{
    launch (t, p, {}, juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectDirectories, std::move (r));
}

} // namespace orvo
