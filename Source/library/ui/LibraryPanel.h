#pragma once

#include "engine/ProgramFinder.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace orvo
{

/** The "LIBRARY" overlay: a search field, the tag filters, the Program list of the selected bank or
    of the library folder, and the selected Program's tags. Every choice goes to the ProgramFinder. */
class LibraryPanel final : public juce::Component, private juce::ListBoxModel, private juce::KeyListener
{
public:
    explicit LibraryPanel (ProgramFinder& finder);
    ~LibraryPanel() override;

    std::function<void()> onClose;

    /** Shows the finder's state; cheap when nothing changed since the last call. */
    void refresh();
    /** Puts the keyboard focus into the search field. */
    void focusSearch();

    void paint (juce::Graphics&) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress&) override;
    /** Up, Down, Page Up and Page Down in the search field move through the list. */
    bool keyPressed (const juce::KeyPress&, juce::Component* origin) override;

private:
    int getNumRows() override;
    void paintListBoxItem (int row, juce::Graphics&, int width, int height, bool selected) override;
    void listBoxItemDoubleClicked (int row, const juce::MouseEvent&) override;
    void returnKeyPressed (int row) override;
    juce::String getTooltipForRow (int row) override;

    void showTags();
    bool moveSelection (const juce::KeyPress& key);

    ProgramFinder& finder;
    int shownGeneration = -1;
    juce::TextEditor search;
    juce::TextButton bankScope{ "THIS BANK" }, libraryScope{ "LIBRARY FOLDER" }, clearTags{ "CLEAR ALL TAGS" },
        eraseTags{ "ERASE ALL TAGS" }, openButton{ "OPEN" }, closeButton{ "CLOSE" };
    std::vector<std::unique_ptr<juce::TextButton>> filterButtons, assignButtons;
    juce::ListBox list;
    juce::Label status, assignCaption;
};

} // namespace orvo
