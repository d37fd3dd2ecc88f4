#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <string>

namespace orvo
{

/** "RENAME PROGRAM": the current name, a field for the new one, the status line the rename check
    gives on every keystroke, RENAME (only for a valid, different name) and CANCEL. */
class RenameOverlay final : public juce::Component
{
public:
    RenameOverlay();

    void open (const std::string& currentName);
    /** The accepted name; the overlay has closed itself. */
    std::function<void (const std::string& newName)> onRename;

    void paint (juce::Graphics&) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress&) override;

private:
    void check();
    void accept();

    std::string current, candidate;
    juce::Label currentLabel { {}, "CURRENT NAME" }, currentName, newLabel { {}, "NEW NAME" }, hint, status;
    juce::TextEditor field;
    juce::TextButton rename { "RENAME" }, cancel { "CANCEL" };
};

} // namespace orvo
