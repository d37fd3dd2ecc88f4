#include "HeadlessEditor.h"

namespace orvo
{

HeadlessEditor::HeadlessEditor()
    : root (juce::File::getSpecialLocation (juce::File::tempDirectory)
                .getNonexistentChildFile ("orvo-headless", {}, false))
{
    (void)root.createDirectory();
    editorSession = std::make_unique<EditorSession> (
        EditorSession::Platform{ time, time, prompts, dialogs, clipboard, nullptr, root.getChildFile ("Settings") });
    // Collect the log as a MONITOR pane would, so every line can be read back.
    engine().setSidebarTool (SidebarModel::bottom, SidebarModel::monitor);
    editorSession->finishStartup();
}

HeadlessEditor::~HeadlessEditor()
{
    editorSession.reset();
    (void)root.deleteRecursively();
}

void HeadlessEditor::connect (bool initialSync)
{
    prompts.answers.push_back (initialSync ? 0 : 1);
    editorSession->midi().openVirtualOrvo();
}

void HeadlessEditor::settle (int ticks)
{
    for (int i = 0; i < ticks; ++i)
    {
        instrument().flush();
        time.advance (33.0);
        editorSession->tick();
    }
}

std::unique_ptr<HeadlessEditor> makeHeadlessEditor()
{
    return std::make_unique<HeadlessEditor>();
}

} // namespace orvo
