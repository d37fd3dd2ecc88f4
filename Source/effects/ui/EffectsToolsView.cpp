#include "EffectsToolsView.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

//==============================================================================
EffectsProgressOverlay::EffectsProgressOverlay()
{
    setComponentID ("overlay.effectsProgress");
    text.setJustificationType (juce::Justification::centred);
    text.setFont (juce::Font (15.0f, juce::Font::bold));
    addAndMakeVisible (text);
    // A shown progress bar runs a 30 ms timer even inside a hidden overlay: it is shown only with it.
    addChildComponent (bar);
}

void EffectsProgressOverlay::show (const EffectsProgress& state)
{
    if (state.version == shownVersion)
        return;
    shownVersion = state.version;
    setVisible (state.visible);
    bar.setVisible (state.visible);
    title = state.title;
    text.setText (state.text, juce::dontSendNotification);
    progress = state.fraction;
    repaint();
}

void EffectsProgressOverlay::paint (juce::Graphics& g)
{
    drawOverlayPanel (g, getLocalBounds(), 520, 160, title.toUpperCase(), 13.0f, 36, 0.45f);
    text.setColour (juce::Label::textColourId, palette::text);
}

void EffectsProgressOverlay::resized()
{
    auto box = getLocalBounds().withSizeKeepingCentre (520, 160).reduced (20);
    box.removeFromTop (26);
    text.setBounds (box.removeFromTop (40));
    box.removeFromTop (8);
    bar.setBounds (box.removeFromTop (22));
}

//==============================================================================
UserPresetOverlay::UserPresetOverlay (UserPresetController& p, Prompts& pr) : presets (p), prompts (pr)
{
    setComponentID ("overlay.userPresets");
    nameField.setTextToShowWhenEmpty ("ENTER NAME OF SAVED PRESET", palette::text.withAlpha (0.5f));
    nameField.setInputRestrictions (UserPresetStore::maxNameLength);
    hint.setFont (juce::Font (11.0f));
    list.setRowHeight (24);
    for (juce::Component* c : { static_cast<juce::Component*> (&list), static_cast<juce::Component*> (&nameField),
                                static_cast<juce::Component*> (&hint), static_cast<juce::Component*> (&load),
                                static_cast<juce::Component*> (&save), static_cast<juce::Component*> (&remove),
                                static_cast<juce::Component*> (&cancel), static_cast<juce::Component*> (&close) })
        addAndMakeVisible (c);

    load.onClick = [this]
    {
        if (const auto* e = selectedEntry(); e != nullptr && presets.load (target, e->file) && onStatus)
            onStatus (presets.lastStatus.first, presets.lastStatus.second);
    };
    save.onClick = [this]
    {
        presets.save (target, nameField.getText().toStdString());
        refreshList();
    };
    remove.onClick = [this]
    {
        const auto* e = selectedEntry();
        if (e == nullptr)
            return;
        const auto file = e->file;
        prompts.showChoice (target.deleteTitle(), UserPresetController::deleteQuestion (e->name), { "DELETE", "CANCEL" },
                            [this, file] (int choice)
                            {
                                if (choice == 0 && UserPresetStore::remove (file))
                                    refreshList();
                            });
    };
    cancel.onClick = [this] { setVisible (false); };
    close.onClick = [this] { setVisible (false); };
}

void UserPresetOverlay::open (const UserPresetTarget& t)
{
    target = t;
    nameField.clear();
    refreshList();
    setVisible (true);
    toFront (true);
}

void UserPresetOverlay::refreshList()
{
    entries = presets.store().list (target.kind, target.kind == UserPresetKind::section ? target.section : "");
    list.updateContent();
    list.deselectAllRows();
    repaint();
}

const UserPresetEntry* UserPresetOverlay::selectedEntry() const
{
    const int row = list.getSelectedRow();
    return row >= 0 && row < (int)entries.size() ? &entries[(size_t)row] : nullptr;
}

int UserPresetOverlay::getNumRows()
{
    return std::max (1, (int)entries.size());
}

void UserPresetOverlay::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected)
{
    if (entries.empty())
    {
        g.setColour (palette::text.withAlpha (0.6f));
        g.drawText ("NO USER PRESETS", 8, 0, width - 16, height, juce::Justification::centredLeft);
        return;
    }
    if (selected)
        g.fillAll (palette::accent.withAlpha (0.5f));
    g.setColour (palette::text);
    g.setFont (juce::Font (14.0f, juce::Font::bold));
    g.drawText (entries[(size_t)row].name, 8, 0, width - 16, height, juce::Justification::centredLeft);
}

void UserPresetOverlay::selectedRowsChanged (int row)
{
    if (row >= 0 && row < (int)entries.size())
        nameField.setText (entries[(size_t)row].name, false);
}

void UserPresetOverlay::paint (juce::Graphics& g)
{
    drawOverlayPanel (g, getLocalBounds(), 520, 470, target.title(), 15.0f, 40);
    hint.setColour (juce::Label::textColourId, palette::text.withAlpha (0.7f));
}

void UserPresetOverlay::resized()
{
    auto box = getLocalBounds().withSizeKeepingCentre (520, 470).reduced (20);
    box.removeFromTop (28);
    auto buttons = box.removeFromBottom (30);
    box.removeFromBottom (8);
    hint.setBounds (box.removeFromBottom (18));
    nameField.setBounds (box.removeFromBottom (30));
    box.removeFromBottom (8);
    list.setBounds (box);
    const int w = buttons.getWidth() / 5;
    for (auto* b : { &load, &save, &remove, &cancel, &close })
        b->setBounds (buttons.removeFromLeft (w).reduced (3, 0));
}

//==============================================================================
EffectsToolsView::EffectsToolsView (EditorSession& s, juce::Component& editor, juce::Component& effectsPage)
    : session (s), userOverlay (std::make_unique<UserPresetOverlay> (s.userPresets(), s.engine().services().prompts))
{
    wedgeButton.setComponentID ("editor.effects.digital.wedgePreset.dropdown");
    userButton.setComponentID ("editor.effects.userPresets.button");
    wedgeButton.onClick = [this] { showWedgeMenu(); };
    userButton.onClick = [this] { showUserPresetMenu(); };
    effectsPage.addAndMakeVisible (wedgeButton);
    effectsPage.addAndMakeVisible (userButton);
    editor.addChildComponent (*userOverlay);
    editor.addChildComponent (progressOverlay);
    userOverlay->onStatus = [this] (const std::string& title, const std::string& text)
    {
        session.engine().log().append (title + ": " + text + ".\n");
        if (onStatus)
            onStatus (title, text);
    };
}

void EffectsToolsView::layoutButtons (juce::Rectangle<int> menuRow)
{
    userButton.setBounds (menuRow.removeFromRight (130).reduced (2));
    wedgeButton.setBounds (menuRow.removeFromRight (200).reduced (2));
}

void EffectsToolsView::layoutOverlays (juce::Rectangle<int> whole)
{
    userOverlay->setBounds (whole);
    progressOverlay.setBounds (whole);
}

void EffectsToolsView::tick()
{
    const auto& send = session.wedge().progress();
    const auto& readback = session.effectsReadback().progress();
    progressOverlay.show (send.visible || !readback.visible ? send : readback);
    const int assigned = session.wedge().currentAssignment();
    const auto* preset = findWedgePreset (assigned);
    const auto caption = preset != nullptr ? "WEDGE " + wedgeMenuItemText (*preset) : std::string ("WEDGE PRESET");
    if (wedgeButton.getButtonText() != juce::String (caption))
        wedgeButton.setButtonText (caption);
}

void EffectsToolsView::showWedgeMenu()
{
    juce::PopupMenu menu;
    const int assigned = session.wedge().currentAssignment();
    for (const auto& p : wedgePresets())
    {
        if (const auto heading = wedgeMenuHeading (p.number); !heading.empty())
            menu.addSectionHeader (heading);
        menu.addItem (p.number + 1, wedgeMenuItemText (p), true, p.number == assigned);
    }
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&wedgeButton).withMinimumNumColumns (6).withMaximumNumColumns (6),
                        [this] (int id)
                        {
                            if (id > 0)
                                session.wedge().selectPreset (id - 1);
                        });
}

void EffectsToolsView::showUserPresetMenu()
{
    std::vector<UserPresetTarget> targets{ { UserPresetKind::effects, {}, 1 } };
    for (int n = 1; n <= 3; ++n)
        targets.push_back ({ UserPresetKind::envelope, {}, n });
    for (const auto& s : userPresetSections())
    {
        const bool numbered = std::string (s.caption).find ('#') != std::string::npos;
        for (int n = 1; n <= (numbered ? 3 : 1); ++n)
            targets.push_back ({ UserPresetKind::section, s.key, n });
    }
    juce::PopupMenu menu;
    for (size_t i = 0; i < targets.size(); ++i)
        menu.addItem ((int)i + 1, targets[i].caption());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&userButton),
                        [this, targets] (int id)
                        {
                            if (id > 0)
                                openUserPresets (targets[(size_t)id - 1]);
                        });
}

void EffectsToolsView::openUserPresets (const UserPresetTarget& target)
{
    userOverlay->open (target);
}

} // namespace orvo
