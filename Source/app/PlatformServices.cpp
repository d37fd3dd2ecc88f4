#include "PlatformServices.h"

namespace orvo
{

void AlertPrompts::showChoice (const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
                               std::function<void (int)> onResult)
{
    auto options = juce::MessageBoxOptions().withIconType (juce::MessageBoxIconType::NoIcon).withTitle (title).withMessage (message);
    for (const auto& b : buttons)
        options = options.withButton (b);
    const int count = (int) buttons.size();
    juce::AlertWindow::showAsync (options, [onResult, count] (int result) {
        // JUCE numbers the buttons 1, 2, ... with the last one 0.
        if (! onResult)
            return;
        if (count == 0)
            onResult (-1);
        else
            onResult (result == 0 ? count - 1 : result - 1);
    });
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
