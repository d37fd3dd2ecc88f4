#pragma once

#include "engine/EditorSession.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace orvo
{

/** Shows the readback's or the Wedge send's progress: title, text and bar. */
class EffectsProgressOverlay final : public juce::Component
{
public:
    EffectsProgressOverlay();
    /** Draws the state when its version differs from the one shown. */
    void show (const EffectsProgress& state);
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    double progress = 0.0;
    juce::ProgressBar bar{ progress };
    juce::Label text;
    juce::String title;
    unsigned shownVersion = ~0u;
};

/** The overlay of one kind of user preset: the list, a name field and LOAD / SAVE / DELETE. */
class UserPresetOverlay final : public juce::Component, private juce::ListBoxModel
{
public:
    UserPresetOverlay (UserPresetController& presets, Prompts& prompts);
    void open (const UserPresetTarget& target);
    std::function<void (const std::string& title, const std::string& text)> onStatus;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    int getNumRows() override;
    void paintListBoxItem (int row, juce::Graphics&, int width, int height, bool selected) override;
    void selectedRowsChanged (int row) override;
    void refreshList();
    const UserPresetEntry* selectedEntry() const;

    UserPresetController& presets;
    Prompts& prompts;
    UserPresetTarget target;
    std::vector<UserPresetEntry> entries;
    juce::ListBox list{ "presets", this };
    juce::TextEditor nameField;
    juce::Label hint{ {}, "UP TO 24 CHARACTERS" };
    juce::TextButton load{ "LOAD" }, save{ "SAVE" }, remove{ "DELETE" }, cancel{ "CANCEL" }, close{ "CLOSE" };
};

/** The EFFECTS page's preset tools and the overlays they open: the WEDGE PRESET menu with its group
    headings, USER PRESETS (every kind, from a menu), and the progress of readbacks and preset sends. */
class EffectsToolsView
{
public:
    EffectsToolsView (EditorSession& session, juce::Component& editor, juce::Component& effectsPage);
    /** The two buttons sit at the right of the effects page's menu row. */
    void layoutButtons (juce::Rectangle<int> menuRow);
    /** The overlays cover the editor. */
    void layoutOverlays (juce::Rectangle<int> whole);
    /** The timer's step: the progress overlay follows whichever of readback and send is showing. */
    void tick();

    void showWedgeMenu();
    void showUserPresetMenu();
    void openUserPresets (const UserPresetTarget& target);
    /** A loaded preset's title and text, for the header's status line. */
    std::function<void (const std::string& title, const std::string& text)> onStatus;

private:
    EditorSession& session;
    juce::TextButton wedgeButton{ "WEDGE PRESET" }, userButton{ "USER PRESETS" };
    EffectsProgressOverlay progressOverlay;
    std::unique_ptr<UserPresetOverlay> userOverlay;
};

} // namespace orvo
