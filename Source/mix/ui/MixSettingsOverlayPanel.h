#pragma once

#include "mix/MixSettings.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

namespace orvo
{

/** The "MIX SETTINGS" overlay: eight channels of the current Mix at a time, each with its Program,
    key range, MIDI channel, output and the two switches. It shows the model's state and forwards
    every choice to it. */
class MixSettingsOverlayPanel final : public juce::Component
{
public:
    static constexpr int designWidth = 1000;
    static constexpr int designHeight = 640;

    explicit MixSettingsOverlayPanel (MixSettings& model);
    ~MixSettingsOverlayPanel() override;

    std::function<void()> onClose;

    /** Shows the model's state; does nothing when it has not changed since the last call. */
    void refresh();

    void paint (juce::Graphics&) override;
    void resized() override;

    class ChannelRow;

private:
    void showState();

    MixSettings& model;
    std::uint64_t shownChange = 0;
    juce::Label status, hint;
    juce::TextButton shiftButton{ "SHIFT 1" }, closeButton{ "CLOSE" };
    std::array<std::unique_ptr<ChannelRow>, MixSettings::rowsShown> rows;
};

/** One channel of the table. */
class MixSettingsOverlayPanel::ChannelRow final : public juce::Component
{
public:
    explicit ChannelRow (MixSettings& model);

    /** Shows `row`, or "WAITING FOR MIX DATA" when the panel holds none. */
    void show (const MixPanelRow& row, bool holdingData);

    void paint (juce::Graphics&) override;
    void resized() override;

    /** Column edges shared with the panel's captions. */
    static constexpr int channelX = 0, programX = 70, lowX = 330, highX = 440, midiX = 550, outputX = 640,
                         useKeysX = 750, enableX = 840, endX = 930;

private:
    /** A round lamp that asks the model to switch; it shows what the model says, not its own click. */
    class Led final : public juce::Button
    {
    public:
        Led() : juce::Button ({}) {}
        void paintButton (juce::Graphics&, bool highlighted, bool down) override;
    };

    MixSettings& model;
    int channel = 0;
    bool updating = false;
    juce::Label channelText, programText, waiting;
    juce::ComboBox lowBox, highBox, midiBox, outputBox;
    Led useKeys, enable;
};

} // namespace orvo
