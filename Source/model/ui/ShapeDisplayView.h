#pragma once

#include "model/DisplayShapes.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace orvo
{

/** A curve display: draws one ShapeDrawing on a dark screen with its caption. It repaints only when
    it is given a drawing that differs from the one it shows. */
class ShapeDisplayView final : public juce::Component
{
public:
    void show (const ShapeDrawing& drawing);
    /** Draws 0 at the bottom edge, for an envelope whose levels never go below zero. */
    void setUnipolar (bool on) { unipolar = on; }
    void paint (juce::Graphics&) override;

private:
    ShapeDrawing shown;
    bool unipolar = false;
};

/** The routing summary: one line per enabled route. */
class RoutingSummaryView final : public juce::Component
{
public:
    void show (const std::vector<std::string>& lines);
    void paint (juce::Graphics&) override;

private:
    std::vector<std::string> shown;
};

} // namespace orvo
