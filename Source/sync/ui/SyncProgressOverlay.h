#pragma once

#include "sync/SyncEngine.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace orvo
{

/** Covers the editor while a sync runs: what it waits for, how far it got, and CANCEL. */
class SyncProgressOverlay final : public juce::Component
{
public:
    SyncProgressOverlay();

    std::function<void()> onCancel;
    /** Shows the sync's overlay state; hides itself when the sync says so. */
    void show (const SyncEngine::Overlay& state);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    double progress = 0.0;
    juce::ProgressBar bar { progress };
    juce::Label text;
    juce::TextButton cancel { "CANCEL" };
    std::string title = "PROGRAM SYNC";
};

} // namespace orvo
