#include "ShapeDisplayView.h"

#include "ui/OrvoLookAndFeel.h"

#include <algorithm>

namespace orvo
{
namespace
{
const juce::Colour screen{ 0xff0b1426 };
const juce::Colour grid{ 0xff22365c };

void paintScreen (juce::Graphics& g, juce::Rectangle<float> r)
{
    g.setColour (screen);
    g.fillRoundedRectangle (r, 4.0f);
    g.setColour (palette::panelOutline);
    g.drawRoundedRectangle (r.reduced (0.5f), 4.0f, 1.0f);
}
} // namespace

void ShapeDisplayView::show (const ShapeDrawing& drawing)
{
    if (drawing == shown)
        return;
    shown = drawing;
    repaint();
}

void ShapeDisplayView::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    paintScreen (g, bounds);
    auto area = bounds.reduced (8.0f, 4.0f);
    const auto captionArea = area.removeFromBottom (15.0f);
    area.removeFromBottom (2.0f);

    const auto yFor = [&] (float y)
    {
        const float v = unipolar ? std::clamp (y, 0.0f, 1.0f) : (y + 1.0f) / 2.0f;
        return area.getBottom() - v * area.getHeight();
    };
    g.setColour (grid);
    g.drawHorizontalLine ((int)yFor (0.0f), area.getX(), area.getRight());
    for (int i = 1; i < 4; ++i)
        g.drawVerticalLine ((int)(area.getX() + area.getWidth() * (float)i / 4.0f), area.getY(), area.getBottom());

    if (!shown.points.empty())
    {
        juce::Path path;
        for (size_t i = 0; i < shown.points.size(); ++i)
        {
            const auto& p = shown.points[i];
            const juce::Point<float> at (area.getX() + p.x * area.getWidth(), yFor (p.y));
            if (i == 0)
                path.startNewSubPath (at);
            else
                path.lineTo (at);
        }
        g.setColour (palette::accent);
        g.strokePath (path, juce::PathStrokeType (1.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }
    g.setColour (palette::dimText);
    g.setFont (juce::Font (11.0f));
    g.drawFittedText (juce::String::fromUTF8 (shown.caption.c_str()), captionArea.toNearestInt(),
                      juce::Justification::centredLeft, 1, 0.8f);
}

void RoutingSummaryView::show (const std::vector<std::string>& lines)
{
    if (lines == shown)
        return;
    shown = lines;
    repaint();
}

void RoutingSummaryView::paint (juce::Graphics& g)
{
    paintScreen (g, getLocalBounds().toFloat());
    auto area = getLocalBounds().reduced (8, 6);
    g.setFont (juce::Font (12.0f));
    if (shown.empty())
    {
        g.setColour (palette::dimText);
        g.drawFittedText (
            "No modulation route is switched on.\nMOD ROUTING switches routes on and chooses their sources.", area,
            juce::Justification::topLeft, 4);
        return;
    }
    const int lineHeight = 16;
    const int fit = area.getHeight() / lineHeight;
    g.setColour (palette::text);
    for (int i = 0; i < (int)shown.size() && i < fit; ++i)
    {
        const bool last = i == fit - 1 && (int)shown.size() > fit;
        const auto text =
            last ? "... and " + std::to_string (shown.size() - (size_t)i) + " more routes" : shown[(size_t)i];
        g.drawFittedText (juce::String::fromUTF8 (text.c_str()), area.removeFromTop (lineHeight),
                          juce::Justification::centredLeft, 1, 0.75f);
    }
}

} // namespace orvo
