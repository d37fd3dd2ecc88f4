#include "CompareOverlay.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
constexpr int boxWidth = 640, boxHeight = 560;
juce::String utf8 (const std::string& s)
{
    return juce::String::fromUTF8 (s.c_str());
}
} // namespace

CompareOverlay::CompareOverlay (CompareController& c) : compare (c)
{
    setComponentID ("overlay.compare");
    toggle.setComponentID ("overlay.compare.toggle");
    leave.setComponentID ("overlay.compare.leave");
    toggle.onClick = [this]
    {
        compare.toggle();
        refresh();
    };
    leave.onClick = [this]
    {
        compare.leave();
        refresh();
    };
    list.setRowHeight (20);
    list.setColour (juce::ListBox::backgroundColourId, palette::panel);
    for (auto* l : { &versions, &status })
    {
        l->setJustificationType (juce::Justification::centredLeft);
        l->setColour (juce::Label::textColourId, palette::text);
    }
    for (auto* child : std::initializer_list<juce::Component*>{ &versions, &status, &list, &toggle, &leave })
        addAndMakeVisible (child);
    setInterceptsMouseClicks (true, true);
    setWantsKeyboardFocus (true);
}

void CompareOverlay::refresh()
{
    if (!compare.isActive())
    {
        setVisible (false);
        return;
    }
    versions.setText ("A: THE PROGRAM IN THE EDITOR    B: " + utf8 (compare.bName()).toUpperCase(),
                      juce::dontSendNotification);
    const auto count = compare.differences().size();
    status.setText (juce::String ("SHOWING ") + (compare.isShowingB() ? "B" : "A") + "  -  " +
                        juce::String ((int)count) + (count == 1 ? " VALUE DIFFERS" : " VALUES DIFFER"),
                    juce::dontSendNotification);
    list.updateContent();
    list.repaint();
    setVisible (true);
    toFront (true);
}

int CompareOverlay::getNumRows()
{
    return (int)compare.differences().size();
}

void CompareOverlay::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool)
{
    const auto& all = compare.differences();
    if (row < 0 || row >= (int)all.size())
        return;
    const auto& d = all[(size_t)row];
    if (row % 2 == 1)
        g.fillAll (palette::panelHeader.withAlpha (0.35f));
    const int nameWidth = width * 46 / 100, valueWidth = (width - nameWidth) / 2;
    g.setFont (12.0f);
    g.setColour (palette::text);
    g.drawText (utf8 (d.name), 6, 0, nameWidth - 8, height, juce::Justification::centredLeft, true);
    const auto side = [&] (const std::optional<int>& v, const std::string& text, int x, bool shown)
    {
        g.setColour (shown ? palette::accent : palette::dimText);
        g.drawText (v ? utf8 (text) : juce::String ("-"), x, 0, valueWidth - 6, height,
                    juce::Justification::centredLeft, true);
    };
    side (d.a, d.aText, nameWidth, !compare.isShowingB());
    side (d.b, d.bText, nameWidth + valueWidth, compare.isShowingB());
}

bool CompareOverlay::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        setVisible (false);
        return true;
    }
    return false;
}

void CompareOverlay::paint (juce::Graphics& g)
{
    drawOverlayPanel (g, getLocalBounds(), boxWidth, boxHeight, "COMPARE");
    auto header = getLocalBounds().withSizeKeepingCentre (boxWidth, boxHeight).reduced (20);
    header = header.withTrimmedTop (24 + 26 + 26).removeFromTop (20);
    const int nameWidth = header.getWidth() * 46 / 100, valueWidth = (header.getWidth() - nameWidth) / 2;
    g.setColour (palette::dimText);
    g.setFont (11.0f);
    g.drawText ("PARAMETER", header.getX() + 6, header.getY(), nameWidth, 20, juce::Justification::centredLeft);
    g.drawText ("A", header.getX() + nameWidth, header.getY(), valueWidth, 20, juce::Justification::centredLeft);
    g.drawText ("B", header.getX() + nameWidth + valueWidth, header.getY(), valueWidth, 20,
                juce::Justification::centredLeft);
}

void CompareOverlay::resized()
{
    auto box = getLocalBounds().withSizeKeepingCentre (boxWidth, boxHeight).reduced (20);
    box.removeFromTop (24);
    versions.setBounds (box.removeFromTop (26));
    status.setBounds (box.removeFromTop (26));
    box.removeFromTop (20);
    auto buttons = box.removeFromBottom (30).withSizeKeepingCentre (320, 30);
    toggle.setBounds (buttons.removeFromLeft (140));
    leave.setBounds (buttons.removeFromRight (160));
    box.removeFromBottom (10);
    list.setBounds (box);
}

} // namespace orvo
