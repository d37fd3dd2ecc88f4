#include "HeadlessEditor.h"

namespace orvo
{

HeadlessEditor::HeadlessEditor()
    // A name no other process can pick at the same moment: tests run in parallel processes, and two
    // editors sharing a folder (one removing it when done) fail each other now and then.
    : root (juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("orvo-headless-" + juce::Uuid().toString()))
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
