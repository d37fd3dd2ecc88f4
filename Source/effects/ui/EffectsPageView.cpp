#include "EffectsPageView.h"

#include "ui/OrvoLookAndFeel.h"
#include "effects/EffectAlgorithms.h"

namespace orvo
{
namespace
{
constexpr int menuHeight = 30;
constexpr int headerHeight = 22;
constexpr int rowHeight = 26;
constexpr int gap = 8;
} // namespace

EffectsPageView::Slot::Slot()
{
    name.setFont (juce::Font (12.5f));
    name.setMinimumHorizontalScale (0.7f);
    name.setInterceptsMouseClicks (false, false);
    value.setJustificationType (juce::Justification::centred);
    value.setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 12.0f, juce::Font::bold));
    slider.setRange (0, 4095, 1);
    addAndMakeVisible (name);
    addAndMakeVisible (slider);
    addAndMakeVisible (value);
}

void EffectsPageView::Slot::resized()
{
    auto r = getLocalBounds().reduced (2);
    name.setBounds (r.removeFromLeft (juce::roundToInt (r.getWidth() * 0.34)));
    value.setBounds (r.removeFromRight (juce::roundToInt (getWidth() * 0.24)));
    r.removeFromRight (4);
    slider.setBounds (r);
}

void EffectsPageView::Slot::paint (juce::Graphics& g)
{
    name.setColour (juce::Label::textColourId, filled ? palette::text : palette::dimText.withAlpha (0.5f));
    value.setColour (juce::Label::textColourId, palette::valueBox.ink);
    if (filled)
        drawLcd (g, value.getBounds().toFloat());
}

EffectsPageView::EffectsPageView (EffectsPageModel& m) : model (m)
{
    setComponentID ("editor.page5.effects");
    for (auto* l : { &categoryLabel, &algorithmLabel })
    {
        l->setFont (juce::Font (12.0f, juce::Font::bold));
        l->setJustificationType (juce::Justification::centredRight);
        addAndMakeVisible (*l);
    }
    categoryMenu.setComponentID ("editor.effects.category");
    algorithmMenu.setComponentID ("editor.effects.algorithm");
    algorithmMenu.setScrollWheelEnabled (true);
    categoryMenu.setTooltip ("Choose a category to list its algorithms.");
    algorithmMenu.setTooltip ("Choose the algorithm; it is sent to the Orvo at once.");
    categoryMenu.onChange = [this] {
        model.selectCategory (categoryMenu.getText().toStdString());
        fillMenus();
    };
    algorithmMenu.onChange = [this] {
        const int index = algorithmMenu.getSelectedId() - 1;
        if (index < 0 || index == model.algorithm())
            return;
        const auto send = model.chooseAlgorithm (index);
        if (onSend)
            onSend (send);
        refresh();
    };
    addAndMakeVisible (categoryMenu);
    addAndMakeVisible (algorithmMenu);

    for (int page = 0; page < 6; ++page)
        for (int s = 0; s < 6; ++s)
        {
            auto slot = std::make_unique<Slot>();
            slot->setComponentID ("editor.effects.page" + juce::String (page) + ".slot" + juce::String (s));
            slot->slider.onValueChange = [this, page, s] {
                auto& sl = *slots[(size_t) page][(size_t) s];
                if (sl.updating)
                    return;
                if (auto send = model.userEdit (page, s, (int) sl.slider.getValue()))
                {
                    if (onSend)
                        onSend (*send);
                    sl.value.setText (model.control (page, s).valueText, juce::dontSendNotification);
                }
            };
            addAndMakeVisible (*slot);
            slots[(size_t) page][(size_t) s] = std::move (slot);
        }
    refresh();
}

void EffectsPageView::fillMenus()
{
    categoryMenu.clear (juce::dontSendNotification);
    const auto categories = EffectsPageModel::categoryMenu();
    for (size_t i = 0; i < categories.size(); ++i)
        categoryMenu.addItem (categories[i], (int) i + 1);
    for (size_t i = 0; i < categories.size(); ++i)
        if (categories[i] == model.selectedCategory())
            categoryMenu.setSelectedId ((int) i + 1, juce::dontSendNotification);

    algorithmMenu.clear (juce::dontSendNotification);
    for (int index : model.algorithmMenu())
        algorithmMenu.addItem (juce::String (index) + "  " + effectAlgorithmName (index), index + 1);
    algorithmMenu.setSelectedId (model.algorithm() + 1, juce::dontSendNotification);
    if (algorithmMenu.getSelectedId() == 0)
        algorithmMenu.setText (juce::String (model.algorithm()) + "  " + effectAlgorithmName (model.algorithm()),
                               juce::dontSendNotification);
}

void EffectsPageView::refresh()
{
    fillMenus();
    for (int page = 0; page < 6; ++page)
        for (int s = 0; s < 6; ++s)
        {
            auto& slot = *slots[(size_t) page][(size_t) s];
            const auto view = model.control (page, s);
            const juce::ScopedValueSetter<bool> guard (slot.updating, true);
            slot.filled = view.filled;
            slot.name.setText (view.filled ? juce::String (view.label) : juce::String ("-"), juce::dontSendNotification);
            slot.value.setText (view.filled ? juce::String (view.valueText) : juce::String(), juce::dontSendNotification);
            slot.slider.setVisible (view.filled);
            slot.slider.setValue (view.raw, juce::dontSendNotification);
            slot.setTooltip (view.filled ? juce::String (view.longName + "  (NRPN " + std::to_string (view.nrpn) + ", "
                                                         + view.rangeText + ")")
                                         : juce::String());
            slot.repaint();
        }
    repaint();
}

juce::Rectangle<int> EffectsPageView::panelBounds (int page) const
{
    const int width = (getWidth() - gap * 2) / 3;
    const int height = headerHeight + 12 + 6 * rowHeight;
    return { (page % 3) * (width + gap), menuHeight + gap + (page / 3) * (height + gap), width, height };
}

void EffectsPageView::paint (juce::Graphics& g)
{
    for (int page = 0; page < 6; ++page)
    {
        const auto r = panelBounds (page);
        const bool used = model.pageUsed (page);
        g.setColour (palette::panel.withAlpha (used ? 1.0f : 0.5f));
        g.fillRoundedRectangle (r.toFloat(), 5.0f);
        g.setColour (palette::panelOutline);
        g.drawRoundedRectangle (r.toFloat().reduced (0.5f), 5.0f, 1.0f);
        const auto head = r.withHeight (headerHeight);
        g.setColour (palette::panelHeader);
        g.fillRoundedRectangle (head.toFloat().reduced (1.0f), 4.0f);
        g.setColour (palette::text);
        g.setFont (juce::Font (13.0f, juce::Font::bold));
        g.drawText (EffectsPageModel::pageName (page), head.reduced (8, 0), juce::Justification::centredLeft);
        g.setColour (palette::dimText);
        g.setFont (juce::Font (11.5f, juce::Font::italic));
        g.drawText (used ? juce::String (model.pageAbbreviation (page)) : juce::String ("not used"), head.reduced (8, 0),
                    juce::Justification::centredRight);
    }
    const auto info = getLocalBounds().withTop (panelBounds (5).getBottom() + gap * 2).reduced (4, 0);
    g.setColour (palette::dimText);
    g.setFont (juce::Font (14.0f));
    g.drawFittedText ("Current algorithm: " + juce::String (model.algorithm()) + " " + effectAlgorithmName (model.algorithm())
                          + "\nChoosing an algorithm sends it to the Orvo on NRPN 3603; the controls send NRPN 3604 to 3638."
                          + "\nHover over a control for its full name, NRPN and range.",
                      info.withHeight (80), juce::Justification::topLeft, 4);
}

void EffectsPageView::resized()
{
    auto top = getLocalBounds().removeFromTop (menuHeight);
    categoryLabel.setBounds (top.removeFromLeft (90));
    categoryMenu.setBounds (top.removeFromLeft (200).reduced (0, 2));
    top.removeFromLeft (gap * 2);
    algorithmLabel.setBounds (top.removeFromLeft (100));
    algorithmMenu.setBounds (top.removeFromLeft (320).reduced (0, 2));
    for (int page = 0; page < 6; ++page)
    {
        auto inner = panelBounds (page).withTrimmedTop (headerHeight + 6).reduced (6, 0);
        for (int s = 0; s < 6; ++s)
            slots[(size_t) page][(size_t) s]->setBounds (inner.removeFromTop (rowHeight));
    }
}

} // namespace orvo
