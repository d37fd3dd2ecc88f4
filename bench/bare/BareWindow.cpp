// A window of the editor's size with nothing in it but a 30 Hz timer that does no work: the idle
// CPU baseline scripts/idle-cpu.sh measures the editor against.
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
class Idle final : public juce::Component, private juce::Timer
{
public:
    Idle()
    {
        setSize (1280, 1048);
        startTimerHz (30);
    }
    void paint (juce::Graphics& g) override { g.fillAll (juce::Colour (0xff15213a)); }

private:
    void timerCallback() override {}
};

class BareWindowApp final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Bare Window"; }
    const juce::String getApplicationVersion() override { return "1"; }
    void initialise (const juce::String&) override
    {
        window = std::make_unique<juce::DocumentWindow> ("Bare Window", juce::Colour (0xff555555),
                                                         juce::DocumentWindow::allButtons, true);
        window->setUsingNativeTitleBar (true);
        window->setContentOwned (new Idle(), true);
        window->centreWithSize (1280, 1048);
        window->setVisible (true);
    }
    void shutdown() override { window = nullptr; }

private:
    std::unique_ptr<juce::DocumentWindow> window;
};
} // namespace

START_JUCE_APPLICATION (BareWindowApp)
