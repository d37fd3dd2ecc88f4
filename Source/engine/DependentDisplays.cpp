#include "DependentDisplays.h"

#include "EditorEngine.h"

namespace orvo
{

DependentDisplays::DependentDisplays (const EditorEngine& e) : engine (e)
{
    refresh();
}

void DependentDisplays::refresh()
{
    const DisplayShapes::RawOf raw = [this] (std::string_view id)
    {
        const auto row = ParameterCatalogue::findById (id);
        return row ? engine.value (*row) : 0;
    };
    const auto update = [this] (Display d, ShapeDrawing next)
    {
        if (next != drawings[(size_t)d])
        {
            drawings[(size_t)d] = std::move (next);
            changed |= 1u << d;
            ++changes;
        }
    };
    update (osc1, DisplayShapes::oscillator (raw, 1));
    update (osc2, DisplayShapes::oscillator (raw, 2));
    for (int n = 0; n < 3; ++n)
    {
        update ((Display)(lfo1 + n), DisplayShapes::lfo (raw, n + 1));
        update ((Display)(env1 + n), DisplayShapes::envelope (raw, n + 1));
    }
    auto lines = DisplayShapes::routingSummary (const_cast<EditorEngine&> (engine).modulation());
    if (lines != routes)
    {
        routes = std::move (lines);
        changed |= 1u << routing;
        ++changes;
    }
}

unsigned DependentDisplays::takeChanged()
{
    return std::exchange (changed, 0u);
}

} // namespace orvo
