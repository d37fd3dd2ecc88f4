#include "ModulationOverlay.h"

#include "ui/OrvoLookAndFeel.h"
#include "model/ModulationSources.h"

namespace orvo
{
namespace
{
constexpr int rowHeight = 28;
constexpr int headerHeight = 64;
} // namespace

struct ModulationOverlay::Row final : public juce::Component
{
    Row (ModulationOverlay& o, int r) : owner (o), route (r)
    {
        const auto& info = ModulationRoutes::all()[(size_t) route];
        name.setText (info.name, juce::dontSendNotification);
        name.setFont (juce::Font (12.5f, juce::Font::bold));
        name.setMinimumHorizontalScale (0.7f);
        addAndMakeVisible (name);

        enable.setClickingTogglesState (false);
        enable.onClick = [this] { edit (ModulationField::enable, enable.getToggleState() ? 0 : 1); };
        addAndMakeVisible (enable);

        int lastCategory = 0;
        for (const auto& s : ModulationSources::all())
        {
            if (s.category != lastCategory)
            {
                source.addSectionHeading (ModulationSources::categoryName (s.category));
                lastCategory = s.category;
            }
            source.addItem (s.name, s.index + 1);
        }
        source.onChange = [this] {
            if (! updating && source.getSelectedId() > 0)
                edit (ModulationField::source, ModulationSources::all()[(size_t) source.getSelectedId() - 1].raw);
        };
        addAndMakeVisible (source);

        if (info.hasDestination())
        {
            const auto& choices = ModulationRoutes::destinations (route);
            for (size_t i = 0; i < choices.size(); ++i)
                destination.addItem (choices[i].name, (int) i + 1);
            destination.onChange = [this] {
                const auto& list = ModulationRoutes::destinations (route);
                const int id = destination.getSelectedId();
                if (! updating && id > 0 && id <= (int) list.size())
                    edit (ModulationField::destination, list[(size_t) id - 1].raw);
            };
            addAndMakeVisible (destination);
        }
        else
        {
            fixed.setText ("fixed destination", juce::dontSendNotification);
            fixed.setFont (juce::Font (11.5f, juce::Font::italic));
            addAndMakeVisible (fixed);
        }

        for (auto* s : { &level, &offset })
        {
            s->setSliderStyle (juce::Slider::LinearHorizontal);
            s->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
            s->setRange (0, 4095, 1);
            addAndMakeVisible (*s);
        }
        level.onValueChange = [this] {
            if (! updating)
                edit (ModulationField::level, (int) level.getValue());
        };
        offset.onValueChange = [this] {
            if (! updating)
                edit (ModulationField::offset, (int) offset.getValue());
        };
        for (auto* l : { &levelText, &offsetText })
        {
            l->setJustificationType (juce::Justification::centred);
            l->setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 12.0f, juce::Font::bold));
            addAndMakeVisible (*l);
        }
        refresh();
    }

    void edit (ModulationField field, int raw)
    {
        if (auto send = owner.routing.setField (route, field, raw))
            if (owner.onSend)
                owner.onSend (*send);
        refresh();
    }

    void refresh()
    {
        const juce::ScopedValueSetter<bool> guard (updating, true);
        const auto value = [this] (ModulationField f) { return owner.routing.value (route, f).value_or (0); };
        const bool on = value (ModulationField::enable) != 0;
        enable.setToggleState (on, juce::dontSendNotification);
        enable.setButtonText (on ? "ON" : "OFF");
        source.setSelectedId (ModulationSources::nearest (value (ModulationField::source)).index + 1, juce::dontSendNotification);
        if (const auto* d = ModulationRoutes::nearestDestination (route, value (ModulationField::destination)))
        {
            const auto& list = ModulationRoutes::destinations (route);
            for (size_t i = 0; i < list.size(); ++i)
                if (list[i].raw == d->raw)
                    destination.setSelectedId ((int) i + 1, juce::dontSendNotification);
        }
        level.setValue (value (ModulationField::level), juce::dontSendNotification);
        offset.setValue (value (ModulationField::offset), juce::dontSendNotification);
        if (auto v = owner.routing.fieldView (route, ModulationField::level))
            levelText.setText (v->text, juce::dontSendNotification);
        if (auto v = owner.routing.fieldView (route, ModulationField::offset))
            offsetText.setText (v->text, juce::dontSendNotification);
        repaint();
    }

    void paint (juce::Graphics& g) override
    {
        if (route % 2 == 1)
            g.fillAll (palette::panelHeader.withAlpha (0.35f));
        name.setColour (juce::Label::textColourId, palette::text);
        fixed.setColour (juce::Label::textColourId, palette::dimText);
        levelText.setColour (juce::Label::textColourId, palette::valueBox.ink);
        offsetText.setColour (juce::Label::textColourId, palette::valueBox.ink);
        drawLcd (g, levelText.getBounds().toFloat());
        drawLcd (g, offsetText.getBounds().toFloat());
    }

    void resized() override
    {
        auto r = getLocalBounds().reduced (4, 2);
        name.setBounds (r.removeFromLeft (190));
        enable.setBounds (r.removeFromLeft (50).reduced (2, 0));
        r.removeFromLeft (6);
        source.setBounds (r.removeFromLeft (170).reduced (2, 0));
        (destination.isVisible() ? static_cast<juce::Component&> (destination) : fixed).setBounds (r.removeFromLeft (170).reduced (2, 0));
        r.removeFromLeft (6);
        level.setBounds (r.removeFromLeft (90));
        levelText.setBounds (r.removeFromLeft (62).reduced (2, 1));
        r.removeFromLeft (6);
        offset.setBounds (r.removeFromLeft (90));
        offsetText.setBounds (r.removeFromLeft (62).reduced (2, 1));
    }

    ModulationOverlay& owner;
    const int route;
    bool updating = false;
    juce::Label name, fixed, levelText, offsetText;
    juce::TextButton enable;
    juce::ComboBox source, destination;
    juce::Slider level, offset;
};

ModulationOverlay::ModulationOverlay (ModulationRouting& r) : routing (r)
{
    setComponentID ("overlay.modRouting");
    closeButton.onClick = [this] {
        if (onClose)
            onClose();
    };
    addAndMakeVisible (closeButton);
    for (int i = 0; i < ModulationRoutes::numRoutes; ++i)
    {
        rows.push_back (std::make_unique<Row> (*this, i));
        rows.back()->setComponentID ("overlay.modRouting.route" + juce::String (i));
        content.addAndMakeVisible (*rows.back());
    }
    viewport.setViewedComponent (&content, false);
    viewport.setScrollBarsShown (true, false);
    addAndMakeVisible (viewport);
}

ModulationOverlay::~ModulationOverlay() = default;

void ModulationOverlay::refresh (int route)
{
    for (auto& row : rows)
        if (route < 0 || row->route == route)
            row->refresh();
}

void ModulationOverlay::paint (juce::Graphics& g)
{
    g.fillAll (palette::background);
    g.setColour (palette::panelOutline);
    g.drawRect (getLocalBounds(), 1);
    g.setColour (palette::text);
    g.setFont (juce::Font (16.0f, juce::Font::bold));
    g.drawText ("MODULATION ROUTING", 12, 6, 400, 28, juce::Justification::centredLeft);
    g.setColour (palette::dimText);
    g.setFont (juce::Font (12.0f, juce::Font::bold));
    const int y = 38;
    g.drawText ("ROUTE", 16, y, 190, 20, juce::Justification::centredLeft);
    g.drawText ("ENABLE", 200, y, 60, 20, juce::Justification::centredLeft);
    g.drawText ("SOURCE", 262, y, 170, 20, juce::Justification::centredLeft);
    g.drawText ("DESTINATION", 432, y, 170, 20, juce::Justification::centredLeft);
    g.drawText ("LEVEL", 608, y, 150, 20, juce::Justification::centredLeft);
    g.drawText ("OFFSET", 766, y, 150, 20, juce::Justification::centredLeft);
}

void ModulationOverlay::resized()
{
    closeButton.setBounds (getWidth() - 100, 8, 88, 26);
    viewport.setBounds (getLocalBounds().withTrimmedTop (headerHeight - 4).reduced (4));
    const int width = viewport.getWidth() - viewport.getScrollBarThickness();
    content.setSize (width, ModulationRoutes::numRoutes * rowHeight);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i]->setBounds (0, (int) i * rowHeight, width, rowHeight);
}

} // namespace orvo
