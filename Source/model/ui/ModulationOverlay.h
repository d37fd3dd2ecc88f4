#pragma once

#include "model/ModulationRouting.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace orvo
{

/** The modulation routing overlay: every route with its ENABLE, SOURCE, DESTINATION (where it has
    one), LEVEL and OFFSET, each field sending its own NRPN. */
class ModulationOverlay final : public juce::Component
{
public:
    explicit ModulationOverlay (ModulationRouting& routing);
    ~ModulationOverlay() override;

    std::function<void (const ModulationSend&)> onSend;
    std::function<void()> onClose;

    /** Reads every field again; `route` -1 for all. */
    void refresh (int route = -1);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    struct Row;
    ModulationRouting& routing;
    juce::TextButton closeButton { "CLOSE" };
    juce::Viewport viewport;
    juce::Component content;
    std::vector<std::unique_ptr<Row>> rows;
};

} // namespace orvo
