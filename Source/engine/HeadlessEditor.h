#pragma once

#include "EditorSession.h"

#include <memory>

namespace orvo
{

/** A complete editor without a window, for tests and command-line tools: the same session the window
    builds, in virtual time, with scripted prompts and file dialogs, a string clipboard, a library in a
    temporary folder of its own (removed with it) and only the Virtual Orvo for MIDI. */
class HeadlessEditor
{
public:
    HeadlessEditor();
    ~HeadlessEditor();

    VirtualTime time;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    StringClipboard clipboard;

    EditorSession& session() { return *editorSession; }
    EditorEngine& engine() { return editorSession->engine(); }
    VirtualOrvo& instrument() { return editorSession->virtualOrvo(); }
    LibrarianController& librarian() { return editorSession->librarian(); }
    /** The temporary folder: the settings file and, by default, the library live in it. */
    const juce::File& folder() const { return root; }

    /** Opens the Virtual Orvo's ports; `initialSync` answers the initial-sync question. */
    void connect (bool initialSync);
    /** Runs the editor's timer `ticks` times, 33 ms apart, letting the instrument answer between. */
    void settle (int ticks = 10);

private:
    juce::File root;
    std::unique_ptr<EditorSession> editorSession;
};

/** The one way tests and tools build an editor without a window. */
std::unique_ptr<HeadlessEditor> makeHeadlessEditor();

} // namespace orvo
