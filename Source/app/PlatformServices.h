#pragma once

#include "platform/UserInteraction.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace orvo
{

/** Choice dialogs shown by JUCE's alert window, with the editor's upper-case captions. */
class AlertPrompts final : public Prompts
{
public:
    void showChoice (const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
                     std::function<void (int)> onResult) override;
};

class JuceFileDialogs final : public FileDialogs
{
public:
    void chooseFileToSave (const std::string& title, const std::string& initialPath, const std::string& patterns, Result r) override;
    void chooseFileToOpen (const std::string& title, const std::string& initialPath, const std::string& patterns, Result r) override;
    void chooseFolder (const std::string& title, const std::string& initialPath, Result r) override;

private:
    void launch (const std::string& title, const std::string& initialPath, const std::string& patterns, int flags, Result r);
    std::unique_ptr<juce::FileChooser> chooser;
};

class SystemClipboardText final : public Clipboard
{
public:
    void setText (const std::string& text) override { juce::SystemClipboard::copyTextToClipboard (juce::String::fromUTF8 (text.c_str())); }
    std::string getText() const override { return juce::SystemClipboard::getTextFromClipboard().toStdString(); }
};

} // namespace orvo
