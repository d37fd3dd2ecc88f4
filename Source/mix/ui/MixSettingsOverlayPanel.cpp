#include "MixSettingsOverlayPanel.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

namespace
{
constexpr int headerHeight = 96;
constexpr int rowHeight = 52;
constexpr int tableX = 24;

const char* const columnCaptions[] = { "CHANNEL", "PROGRAM", "LOW", "HIGH", "MIDI CH", "OUTPUT", "USE KEYS", "ENABLE" };
} // namespace

//==============================================================================
void MixSettingsOverlayPanel::ChannelRow::Led::paintButton (juce::Graphics& g, bool highlighted, bool)
{
    const auto size = (float)juce::jmin (getWidth(), getHeight()) - 6.0f;
    const auto r = getLocalBounds().toFloat().withSizeKeepingCentre (size, size);
    const auto lit = getToggleState();
    g.setColour (lit ? palette::ledOn : palette::ledOff);
    g.fillEllipse (r);
    if (lit)
    {
        g.setColour (juce::Colours::white.withAlpha (0.35f));
        g.fillEllipse (r.reduced (size * 0.3f).translated (-size * 0.1f, -size * 0.1f));
    }
    g.setColour (highlighted ? palette::accent : juce::Colours::black.withAlpha (0.6f));
    g.drawEllipse (r, 1.5f);
}

MixSettingsOverlayPanel::ChannelRow::ChannelRow (MixSettings& m) : model (m)
{
    for (auto* l : { &channelText, &programText, &waiting })
    {
        l->setFont (juce::Font (14.0f, juce::Font::bold));
        l->setMinimumHorizontalScale (0.6f);
        addAndMakeVisible (*l);
    }
    channelText.setJustificationType (juce::Justification::centred);
    waiting.setText ("WAITING FOR MIX DATA", juce::dontSendNotification);

    for (int note = 0; note < 128; ++note)
    {
        lowBox.addItem (mixKeyCaption (note), note + 1);
        highBox.addItem (mixKeyCaption (note), note + 1);
    }
    for (int c = 1; c <= 16; ++c)
        midiBox.addItem (juce::String (c), c);
    outputBox.addItem ("OFF", 1);
    outputBox.addItem ("MAIN", 2);
    outputBox.addItem ("AUX", 3);

    const auto forward = [this] (juce::ComboBox& box, void (MixSettings::*select) (int, int))
    {
        box.onChange = [this, &box, select]
        {
            if (!updating && box.getSelectedId() > 0)
                (model.*select) (channel, box.getSelectedId());
        };
        addAndMakeVisible (box);
    };
    forward (lowBox, &MixSettings::selectLowKey);
    forward (highBox, &MixSettings::selectHighKey);
    forward (midiBox, &MixSettings::selectMidiChannel);
    forward (outputBox, &MixSettings::selectOutput);

    useKeys.onClick = [this] { model.setUseKeys (channel, !useKeys.getToggleState()); };
    enable.onClick = [this] { model.setEnable (channel, !enable.getToggleState()); };
    addAndMakeVisible (useKeys);
    addAndMakeVisible (enable);
}

void MixSettingsOverlayPanel::ChannelRow::show (const MixPanelRow& row, bool holdingData)
{
    const juce::ScopedValueSetter<bool> guard (updating, true);
    channel = row.channel;
    setComponentID ("overlay.mixSettings.channel" + juce::String (row.channel + 1));
    channelText.setText (row.channelCaption, juce::dontSendNotification);
    programText.setText (juce::String::fromUTF8 (row.programLabel.c_str()), juce::dontSendNotification);
    lowBox.setSelectedId (row.lowKeyId, juce::dontSendNotification);
    highBox.setSelectedId (row.highKeyId, juce::dontSendNotification);
    midiBox.setSelectedId (row.midiChannelId, juce::dontSendNotification);
    outputBox.setSelectedId (row.outputId, juce::dontSendNotification);
    useKeys.setToggleState (row.useKeys, juce::dontSendNotification);
    enable.setToggleState (row.enable, juce::dontSendNotification);

    waiting.setVisible (!holdingData);
    for (juce::Component* c : { static_cast<juce::Component*> (&programText), static_cast<juce::Component*> (&lowBox),
                                static_cast<juce::Component*> (&highBox), static_cast<juce::Component*> (&midiBox),
                                static_cast<juce::Component*> (&outputBox), static_cast<juce::Component*> (&useKeys),
                                static_cast<juce::Component*> (&enable) })
        c->setVisible (holdingData);
    repaint();
}

void MixSettingsOverlayPanel::ChannelRow::paint (juce::Graphics& g)
{
    if (channel % 2 == 1)
        g.fillAll (palette::panelHeader.withAlpha (0.35f));
    channelText.setColour (juce::Label::textColourId, palette::valueBox.ink);
    drawLcd (g, channelText.getBounds().toFloat());
    programText.setColour (juce::Label::textColourId, palette::text);
    waiting.setColour (juce::Label::textColourId, palette::dimText);
    for (auto* box : { &lowBox, &highBox, &midiBox, &outputBox })
    {
        box->setColour (juce::ComboBox::backgroundColourId, palette::dropdown.fill);
        box->setColour (juce::ComboBox::textColourId, palette::dropdown.ink);
        box->setColour (juce::ComboBox::arrowColourId, palette::dropdown.ink);
        box->setColour (juce::ComboBox::outlineColourId, palette::dropdown.edge);
    }
}

void MixSettingsOverlayPanel::ChannelRow::resized()
{
    const int h = getHeight();
    const auto cell = [h] (int x0, int x1) { return juce::Rectangle<int> (x0, 0, x1 - x0, h).reduced (5, 10); };
    channelText.setBounds (cell (channelX, programX).withSizeKeepingCentre (46, h - 20));
    programText.setBounds (cell (programX, lowX));
    waiting.setBounds (cell (programX, endX));
    lowBox.setBounds (cell (lowX, highX));
    highBox.setBounds (cell (highX, midiX));
    midiBox.setBounds (cell (midiX, outputX));
    outputBox.setBounds (cell (outputX, useKeysX));
    useKeys.setBounds (cell (useKeysX, enableX).withSizeKeepingCentre (30, 30));
    enable.setBounds (cell (enableX, endX).withSizeKeepingCentre (30, 30));
}

//==============================================================================
MixSettingsOverlayPanel::MixSettingsOverlayPanel (MixSettings& m) : model (m)
{
    setComponentID ("overlay.mixSettings");
    for (size_t i = 0; i < rows.size(); ++i)
    {
        rows[i] = std::make_unique<ChannelRow> (model);
        addAndMakeVisible (*rows[i]);
    }
    status.setFont (juce::Font (14.0f, juce::Font::bold));
    status.setComponentID ("overlay.mixSettings.status");
    hint.setFont (juce::Font (13.0f));
    hint.setComponentID ("overlay.mixSettings.hint");
    addAndMakeVisible (status);
    addAndMakeVisible (hint);

    shiftButton.setComponentID ("overlay.mixSettings.channelShift");
    shiftButton.onClick = [this]
    {
        model.toggleShift();
        refresh();
    };
    closeButton.setComponentID ("overlay.mixSettings.close");
    closeButton.onClick = [this]
    {
        if (onClose)
            onClose();
    };
    addAndMakeVisible (shiftButton);
    addAndMakeVisible (closeButton);
    setSize (designWidth, designHeight);
    showState();
}

MixSettingsOverlayPanel::~MixSettingsOverlayPanel() = default;

void MixSettingsOverlayPanel::refresh()
{
    if (model.changeCount() != shownChange)
        showState();
}

void MixSettingsOverlayPanel::showState()
{
    shownChange = model.changeCount();
    const auto& state = model.panel();
    const int first = state.shiftPage == 0 ? 0 : MixSettings::rowsShown;
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i]->show (state.rows[(size_t)first + i], state.holdingData);
    shiftButton.setButtonText (MixSettings::shiftCaption (state.shiftPage));
    status.setText (state.status, juce::dontSendNotification);
    hint.setText (state.hint, juce::dontSendNotification);
    hint.setVisible (!state.holdingData);
    repaint();
}

void MixSettingsOverlayPanel::paint (juce::Graphics& g)
{
    g.fillAll (palette::background);
    g.setColour (palette::panelOutline);
    g.drawRect (getLocalBounds(), 1);
    g.setColour (palette::text);
    g.setFont (juce::Font (16.0f, juce::Font::bold));
    g.drawText (juce::String::fromUTF8 (model.panel().title.c_str()), 12, 6, getWidth() - 260, 28,
                juce::Justification::centredLeft);

    status.setColour (juce::Label::textColourId, palette::highlight);
    hint.setColour (juce::Label::textColourId, palette::dimText);

    const int captionY = headerHeight - 26;
    const int edges[] = { ChannelRow::channelX, ChannelRow::programX, ChannelRow::lowX,
                          ChannelRow::highX,    ChannelRow::midiX,    ChannelRow::outputX,
                          ChannelRow::useKeysX, ChannelRow::enableX,  ChannelRow::endX };
    g.setColour (palette::panelHeader);
    g.fillRect (tableX, captionY, ChannelRow::endX, 24);
    g.setColour (palette::dimText);
    g.setFont (juce::Font (12.0f, juce::Font::bold));
    for (int c = 0; c < 8; ++c)
    {
        const auto justification = c == 1 ? juce::Justification::centredLeft : juce::Justification::centred;
        g.drawText (columnCaptions[c], tableX + edges[c] + (c == 1 ? 5 : 0), captionY, edges[c + 1] - edges[c], 24,
                    justification);
    }
    g.setColour (palette::panel);
    g.drawRect (tableX, captionY, ChannelRow::endX, 24 + rowHeight * MixSettings::rowsShown, 1);
}

void MixSettingsOverlayPanel::resized()
{
    closeButton.setBounds (getWidth() - 100, 8, 88, 26);
    shiftButton.setBounds (getWidth() - 200, 8, 88, 26);
    status.setBounds (12, 36, getWidth() - 24, 24);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i]->setBounds (tableX, headerHeight + rowHeight * (int)i, ChannelRow::endX, rowHeight);
    hint.setBounds (tableX, headerHeight + rowHeight * MixSettings::rowsShown + 10, ChannelRow::endX, 24);
}

} // namespace orvo
