#pragma once

#include "OrvoEditorScaledHost.h"

namespace orvo
{

/** The only top-level window: menus, the layout-mode command and the scaled editor. */
class MainWindow final : public juce::DocumentWindow, public juce::MenuBarModel, public juce::ApplicationCommandTarget
{
public:
    MainWindow (const juce::String& name, MainComponent::Options options);
    ~MainWindow() override;

    void closeButtonPressed() override;

    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex (int topLevelMenuIndex, const juce::String& menuName) override;
    void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;

    juce::ApplicationCommandTarget* getNextCommandTarget() override { return juce::JUCEApplication::getInstance(); }
    void getAllCommands (juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo (juce::CommandID, juce::ApplicationCommandInfo&) override;
    bool perform (const InvocationInfo&) override;

    static constexpr juce::CommandID toggleLayoutModeCommand = 2005;
    static constexpr juce::CommandID toggleLibraryCommand = 1011;
    static constexpr juce::CommandID openMenuBarCommand = 9001;
    static constexpr int turnVirtualKnobItem = 3301;
    // Edit menu items of our own. A menu item must not share its id with a command in the same
    // menu: choosing the command would run the item's action too (2005 is TOGGLE LAYOUT MODE).
    static constexpr int undoItem = 2011, redoItem = 2012, compareOrvoItem = 2013, compareLibraryItem = 2014,
                         compareToggleItem = 2015, leaveCompareItem = 2016;

    MainComponent* editor() const { return host != nullptr ? &host->getEditor() : nullptr; }

private:
    juce::ApplicationCommandManager commands;
    OrvoEditorScaledHost* host = nullptr;
};

} // namespace orvo
