#pragma once

#include "model/InterfaceControls.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace orvo
{

/** A page control that sends one fixed NRPN with a value it computes itself. */
class InterfaceControlView final : public juce::Component, public juce::SettableTooltipClient
{
public:
    explicit InterfaceControlView (const InterfaceControlInfo& info);

    const InterfaceControlInfo& getInfo() const { return info; }
    /** Called with the NRPN, the value to send and the action label for the log. */
    std::function<void (int nrpn, int value, const std::string& label)> onSend;
    std::function<void (int nrpn)> onSelect;

    void resized() override;
    void paint (juce::Graphics&) override;
    void lookAndFeelChanged() override { applyColours(); }
    void mouseDown (const juce::MouseEvent&) override;

private:
    void send (int v);
    void setProperties();
    void applyColours();
    void refresh();

    const InterfaceControlInfo info;
    int value = 0;
    int cycleState = 3;
    bool updating = false;

    juce::Label nameLabel;
    std::unique_ptr<juce::Slider> slider;
    std::unique_ptr<juce::TextButton> button;
    juce::Label valueBox;
};

} // namespace orvo
