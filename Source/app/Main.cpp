#include "MainWindow.h"

namespace orvo
{

class OrvoPocApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Orvo Editor"; }
    const juce::String getApplicationVersion() override { return "0.11.0"; }

    void initialise (const juce::String&) override { mainWindow = std::make_unique<MainWindow> (getApplicationName()); }
    void shutdown() override { mainWindow = nullptr; }

private:
    std::unique_ptr<MainWindow> mainWindow;
};

} // namespace orvo

START_JUCE_APPLICATION (orvo::OrvoPocApplication)
