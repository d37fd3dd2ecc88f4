#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace orvo
{

/** The menu bar, drawn on the editor surface so that each menu title is an item of the layout
    ("top.menu.0" ...) like every other control. It behaves as a desktop menu bar does: a click
    opens a menu under its title, moving over another title while a menu is open switches to it,
    and Left / Right in an open menu go to the neighbouring menu. */
class TopMenuBar final : public juce::Component, private juce::MenuBarModel::Listener
{
public:
    TopMenuBar();
    ~TopMenuBar() override;

    void setModel (juce::MenuBarModel* model);
    /** The menu shown now, or -1. */
    int openMenu() const { return openIndex; }
    void showMenu (int index);

    void paint (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void mouseMove (const juce::MouseEvent&) override;

private:
    class Title;
    void menuBarItemsChanged (juce::MenuBarModel*) override;
    void menuCommandInvoked (juce::MenuBarModel*, const juce::ApplicationCommandTarget::InvocationInfo&) override {}
    void menuDismissed (int index, int result);
    void placeTitles();
    int titleAt (juce::Point<int> screenPoint) const;

    juce::MenuBarModel* model = nullptr;
    std::vector<std::unique_ptr<Title>> titles;
    int openIndex = -1;
    /** Counts the menus shown; a dismissal of one that was replaced is ignored. */
    int shownMenus = 0;
    juce::Point<int> lastPointer;
};

} // namespace orvo
