#include "LibraryPanel.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
constexpr int pad = 16;
constexpr int tagsPerRow = 8;
constexpr int tagRowHeight = 26;

juce::String utf8 (const std::string& s)
{
    return juce::String::fromUTF8 (s.c_str());
}
} // namespace

LibraryPanel::LibraryPanel (ProgramFinder& f) : finder (f)
{
    setComponentID ("overlay.library");
    setWantsKeyboardFocus (true);

    search.setComponentID ("overlay.library.search");
    search.setTextToShowWhenEmpty ("Search names, tags and notes", palette::dimText);
    search.setTooltip ("Type to narrow the list: every word must appear in a Program's name, tags or notes.");
    search.onTextChange = [this]
    {
        finder.setQuery (search.getText().toStdString());
        refresh();
    };
    search.onReturnKey = [this]
    {
        if (list.getNumSelectedRows() == 0 && getNumRows() > 0)
            list.selectRow (0);
        returnKeyPressed (list.getSelectedRow());
    };
    search.onEscapeKey = [this]
    {
        if (onClose)
            onClose();
    };
    search.addKeyListener (this);
    addAndMakeVisible (search);

    bankScope.setTooltip ("List the Programs of the selected bank.");
    libraryScope.setTooltip ("List the Program documents in the library folder.");
    for (auto* b : { &bankScope, &libraryScope })
    {
        b->setRadioGroupId (7301);
        b->setClickingTogglesState (false);
        addAndMakeVisible (*b);
    }
    bankScope.setComponentID ("overlay.library.scopeBank");
    libraryScope.setComponentID ("overlay.library.scopeLibrary");
    bankScope.onClick = [this]
    {
        finder.setScope (ProgramFinder::Scope::bank);
        refresh();
    };
    libraryScope.onClick = [this]
    {
        finder.setScope (ProgramFinder::Scope::library);
        refresh();
    };

    for (const auto& tag : canonicalTagKeys())
    {
        auto filter = std::make_unique<juce::TextButton> (utf8 (ProgramFinder::tagCaption (tag)));
        filter->setComponentID ("overlay.library.filter." + utf8 (tag));
        filter->setTooltip (utf8 (finder.tagTooltip (tag, false)));
        filter->onClick = [this, tag]
        {
            finder.toggleFilter (tag);
            refresh();
        };
        addAndMakeVisible (*filter);
        filterButtons.push_back (std::move (filter));

        auto assign = std::make_unique<juce::TextButton> (utf8 (ProgramFinder::tagCaption (tag)));
        assign->setComponentID ("overlay.library.tag." + utf8 (tag));
        assign->onClick = [this, tag]
        {
            finder.toggleSelectedSlotTag (tag);
            refresh();
        };
        addAndMakeVisible (*assign);
        assignButtons.push_back (std::move (assign));
    }
    clearTags.setComponentID ("overlay.library.clearTags");
    clearTags.setTooltip ("Clear all selected tag filters and show every Program.");
    clearTags.onClick = [this]
    {
        finder.clearFilters();
        refresh();
    };
    eraseTags.setComponentID ("overlay.library.eraseTags");
    eraseTags.setTooltip ("Erase the selected tag from every Program in the current bank.");
    eraseTags.onClick = [this] { finder.eraseFilteredTagsFromBank(); };
    openButton.setComponentID ("overlay.library.open");
    openButton.setTooltip ("Select the highlighted Program slot, or load the highlighted document as LOAD PROGRAM does.");
    openButton.onClick = [this] { returnKeyPressed (list.getSelectedRow()); };
    closeButton.setComponentID ("overlay.library.close");
    closeButton.onClick = [this]
    {
        if (onClose)
            onClose();
    };
    for (auto* b : { &clearTags, &eraseTags, &openButton, &closeButton })
        addAndMakeVisible (*b);

    // Clicking a button leaves the keyboard in the search field, so the player can go on typing.
    for (auto* c : getChildren())
        if (dynamic_cast<juce::Button*> (c) != nullptr)
            c->setMouseClickGrabsKeyboardFocus (false), c->setWantsKeyboardFocus (false);

    list.setComponentID ("overlay.library.list");
    list.setModel (this);
    list.setRowHeight (24);
    list.setColour (juce::ListBox::backgroundColourId, palette::background.darker (0.2f));
    list.setColour (juce::ListBox::outlineColourId, palette::panelOutline);
    list.setOutlineThickness (1);
    addAndMakeVisible (list);

    for (auto* l : { &status, &assignCaption })
    {
        l->setFont (juce::Font (13.0f, juce::Font::bold));
        l->setColour (juce::Label::textColourId, palette::text);
        addAndMakeVisible (*l);
    }
    status.setComponentID ("overlay.library.status");
    assignCaption.setComponentID ("overlay.library.tagsCaption");
}

LibraryPanel::~LibraryPanel()
{
    list.setModel (nullptr);
}

void LibraryPanel::focusSearch()
{
    // After the event that opened the panel has been handled, which may still move the focus.
    juce::MessageManager::callAsync ([safe = juce::Component::SafePointer<LibraryPanel> (this)]
                                     {
                                         if (safe != nullptr && safe->isShowing())
                                         {
                                             safe->search.grabKeyboardFocus();
                                             safe->search.selectAll();
                                         }
                                     });
}

void LibraryPanel::refresh()
{
    const auto& rows = finder.rows();
    if (finder.generation() == shownGeneration)
        return;
    shownGeneration = finder.generation();

    const bool library = finder.scope() == ProgramFinder::Scope::library;
    bankScope.setToggleState (!library, juce::dontSendNotification);
    libraryScope.setToggleState (library, juce::dontSendNotification);
    list.updateContent();
    int selected = -1;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].selected)
            selected = (int)i;
    if (selected >= 0)
    {
        list.selectRow (selected, true, true);
        list.scrollToEnsureRowIsOnscreen (selected);
    }
    else if (list.getSelectedRow() >= (int)rows.size())
        list.deselectAllRows();
    list.repaint();

    juce::String text;
    if (library)
        text << (int)finder.matchCount() << (finder.matchCount() == 1 ? " document matches" : " documents match")
             << (finder.matchCount() > rows.size() ? " (first " + juce::String ((int)rows.size()) + " listed)" : "");
    else
        text << (int)rows.size() << " of 128 Programs listed";
    status.setText (text, juce::dontSendNotification);
    eraseTags.setEnabled (!finder.filters().empty() && !library);
    showTags();
}

void LibraryPanel::showTags()
{
    const auto& keys = canonicalTagKeys();
    for (size_t i = 0; i < keys.size(); ++i)
    {
        filterButtons[i]->setToggleState (finder.isFiltering (keys[i]), juce::dontSendNotification);
        const bool has = finder.selectedSlotHas (keys[i]);
        assignButtons[i]->setToggleState (has, juce::dontSendNotification);
        assignButtons[i]->setTooltip (utf8 (finder.tagTooltip (keys[i], true)));
    }
    assignCaption.setText ("TAGS OF " + utf8 (finder.selectedSlotLabel()), juce::dontSendNotification);
}

void LibraryPanel::paint (juce::Graphics& g)
{
    drawPagePanelFrame (g, getLocalBounds(), "LIBRARY", pad);

    // Bands behind the filters and the selected Program's tags.
    g.setColour (palette::panelHeader.withAlpha (0.45f));
    for (auto* first : { filterButtons.front().get(), assignButtons.front().get() })
        g.fillRect (pad - 6, first->getY() - 26, getWidth() - 2 * pad + 12, 3 * tagRowHeight + 32);
    g.setColour (palette::dimText);
    g.setFont (juce::Font (13.0f, juce::Font::bold));
    g.drawText ("FILTER BY TAG", pad, filterButtons.front()->getY() - 24, 200, 20, juce::Justification::centredLeft);
}

void LibraryPanel::resized()
{
    const int w = getWidth() - 2 * pad;
    closeButton.setBounds (getWidth() - 100, 8, 88, 26);
    int y = 44;
    search.setBounds (pad, y, w - 2 * 150 - 12, 28);
    bankScope.setBounds (pad + w - 2 * 150, y, 146, 28);
    libraryScope.setBounds (pad + w - 150, y, 150, 28);

    const auto layTags = [&] (std::vector<std::unique_ptr<juce::TextButton>>& buttons, int top)
    {
        for (size_t i = 0; i < buttons.size(); ++i)
            buttons[i]->setBounds (pad + w * (int)(i % tagsPerRow) / tagsPerRow + 1, top + (int)(i / tagsPerRow) * tagRowHeight,
                                   w / tagsPerRow - 2, tagRowHeight - 3);
    };
    y += 28 + 36;
    layTags (filterButtons, y);
    clearTags.setBounds (getWidth() - pad - 2 * 132 - 6, y - 25, 132, 22);
    eraseTags.setBounds (getWidth() - pad - 132, y - 25, 132, 22);
    y += 3 * tagRowHeight + 12;

    status.setBounds (pad, y, w - 100, 24);
    openButton.setBounds (getWidth() - pad - 96, y, 96, 24);
    y += 28;
    const int assignTop = getHeight() - pad - 3 * tagRowHeight;
    list.setBounds (pad, y, w, assignTop - 32 - y - 8);
    layTags (assignButtons, assignTop);
    assignCaption.setBounds (pad, assignTop - 26, w, 22);
}

bool LibraryPanel::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        if (onClose)
            onClose();
        return true;
    }
    return moveSelection (key);
}

bool LibraryPanel::keyPressed (const juce::KeyPress& key, juce::Component* origin)
{
    return origin == &search && moveSelection (key);
}

bool LibraryPanel::moveSelection (const juce::KeyPress& key)
{
    const int page = juce::jmax (1, list.getHeight() / list.getRowHeight() - 1);
    const int step = key == juce::KeyPress::downKey       ? 1
                     : key == juce::KeyPress::upKey       ? -1
                     : key == juce::KeyPress::pageDownKey ? page
                     : key == juce::KeyPress::pageUpKey   ? -page
                                                          : 0;
    if (step == 0 || getNumRows() == 0)
        return false;
    const int next = juce::jlimit (0, getNumRows() - 1, list.getSelectedRow() + step);
    list.selectRow (next);
    list.scrollToEnsureRowIsOnscreen (next);
    return true;
}

int LibraryPanel::getNumRows()
{
    return (int)finder.rows().size();
}

void LibraryPanel::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected)
{
    const auto& rows = finder.rows();
    if (row < 0 || row >= (int)rows.size())
        return;
    const auto& r = rows[(size_t)row];
    if (selected)
        g.fillAll (palette::accent.withAlpha (0.35f));
    else if (row % 2 == 1)
        g.fillAll (palette::panel.withAlpha (0.5f));
    const int labelWidth = finder.scope() == ProgramFinder::Scope::library ? width * 36 / 100 : 110;
    const int nameWidth = finder.scope() == ProgramFinder::Scope::library ? width * 30 / 100 : width * 40 / 100;
    g.setFont (juce::Font (13.0f));
    g.setColour (palette::dimText);
    g.drawText (utf8 (r.label), 8, 0, labelWidth - 12, height, juce::Justification::centredLeft, true);
    g.setColour (palette::text);
    g.setFont (juce::Font (13.0f, juce::Font::bold));
    g.drawText (r.name.empty() ? juce::String ("(no name)") : utf8 (r.name), labelWidth, 0, nameWidth - 8, height,
                juce::Justification::centredLeft, true);
    g.setColour (palette::accent);
    g.setFont (juce::Font (12.0f));
    g.drawText (utf8 (r.tagsText), labelWidth + nameWidth, 0, width - labelWidth - nameWidth - 8, height,
                juce::Justification::centredLeft, true);
}

void LibraryPanel::listBoxItemDoubleClicked (int row, const juce::MouseEvent&)
{
    returnKeyPressed (row);
}

void LibraryPanel::returnKeyPressed (int row)
{
    if (row < 0)
        return;
    finder.choose ((size_t)row);
    refresh();
}

juce::String LibraryPanel::getTooltipForRow (int row)
{
    const auto& rows = finder.rows();
    if (row < 0 || row >= (int)rows.size())
        return {};
    return rows[(size_t)row].file != juce::File() ? rows[(size_t)row].file.getFullPathName() + "\nDouble-click to load it."
                                                  : juce::String ("Double-click to select this Program.");
}

} // namespace orvo
