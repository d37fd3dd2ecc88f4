#include "LayoutPanels.h"

#include "LayoutItemProperties.h"
#include "ui/OrvoLookAndFeel.h"

#include "model/ParameterCatalogue.h"
#include "model/ui/ParameterControl.h"

namespace orvo
{
namespace
{
size_t listen (LayoutController& c, std::function<void()> f)
{
    c.listeners.push_back (std::move (f));
    return c.listeners.size() - 1;
}

juce::String selectionText (LayoutController& c)
{
    const auto& selected = c.session().selected();
    if (selected.empty())
        return "Nothing selected. Click an item; SHIFT adds to the selection.";
    auto text = juce::String (selected.front());
    if (selected.size() > 1)
        text << " and " << (int)selected.size() - 1 << " more";
    if (const auto* g = c.session().groupOf (selected.front()))
        text << "\nGROUP: " << g->name << (g->locked ? " (LOCKED)" : "");
    return text;
}
} // namespace

LayoutEditPanel::LayoutEditPanel (LayoutController& c) : controller (c)
{
    const auto selectedId = [this]
    { return controller.session().selected().empty() ? std::string() : controller.session().selected().front(); };
    modeButton.onClick = [this] { controller.toggleLayoutMode(); };
    save.onClick = [this] { controller.save(); };
    saveAs.onClick = [this] { controller.saveAs(); };
    load.onClick = [this] { controller.load(); };
    undo.onClick = [this]
    {
        controller.session().undo();
        controller.apply();
        controller.changed();
    };
    fit.onClick = [this] { controller.fitPage(); };
    group.onClick = [this, selectedId]
    {
        if (const auto id = selectedId(); !id.empty())
            controller.session().createAssociationGroup (id);
        else
            controller.session().createAssociationGroup ("");
        controller.changed();
    };
    manualGroup.onClick = [this]
    {
        controller.session().createManualGroup();
        controller.changed();
    };
    lock.onClick = [this, selectedId]
    {
        if (const auto* g = controller.session().groupOf (selectedId()))
            controller.session().setGroupLocked (g->id, !g->locked);
        controller.changed();
    };
    const auto onSelected = [this, selectedId] (auto action)
    {
        return [this, selectedId, action]
        {
            if (const auto id = selectedId(); !id.empty())
            {
                (controller.session().*action) (id);
                controller.apply();
                controller.changed();
            }
        };
    };
    reset.onClick = onSelected (&LayoutEditSession::resetItem);
    front.onClick = onSelected (&LayoutEditSession::bringToFront);
    back.onClick = onSelected (&LayoutEditSession::sendToBack);
    resetAll.onClick = [this]
    {
        controller.session().resetAll();
        controller.apply();
        controller.changed();
    };
    modeButton.setTooltip ("Enter or exit layout mode.");
    save.setTooltip ("Save the layout to its file, with a backup of the old one.");
    fit.setTooltip ("Fit the page height to the visible items.");
    group.setTooltip ("Make a group of the selected item's section.");
    manualGroup.setTooltip ("Make a group of the selected items.");
    lock.setTooltip ("Lock or unlock the selected item's group: a locked group moves as one unit.");
    for (auto* b : { &modeButton, &save, &saveAs, &load, &undo, &fit, &group, &manualGroup, &lock, &reset, &resetAll,
                     &front, &back })
    {
        // "layoutEdit.saveAs", "layoutEdit.manualGroup" ...
        auto words = juce::StringArray::fromTokens (b->getButtonText().toLowerCase(), " ", {});
        for (int i = 1; i < words.size(); ++i)
            words.set (i, words[i].substring (0, 1).toUpperCase() + words[i].substring (1));
        b->setComponentID ("layoutEdit." + words.joinIntoString ({}));
        addAndMakeVisible (*b);
    }
    modeButton.setComponentID ("layoutEdit.layout");
    info.setComponentID ("layoutEdit.info");
    info.setJustificationType (juce::Justification::topLeft);
    info.setFont (juce::Font (12.0f));
    addAndMakeVisible (info);
    listener = listen (controller, [this] { refresh(); });
    refresh();
}

LayoutEditPanel::~LayoutEditPanel()
{
    controller.listeners[listener] = nullptr;
}

void LayoutEditPanel::refresh()
{
    modeButton.setButtonText (controller.isLayoutMode() ? "EXIT LAYOUT" : "LAYOUT");
    modeButton.setToggleState (controller.isLayoutMode(), juce::dontSendNotification);
    const auto* g = controller.session().selected().empty()
                        ? nullptr
                        : controller.session().groupOf (controller.session().selected().front());
    lock.setButtonText (g != nullptr && g->locked ? "UNLOCK" : "LOCK");
    info.setText ("FILE: " + controller.library().saveTarget().getFileName() +
                      (controller.session().hasUnsavedEdits() ? " (EDITED)" : "") + "\n" + selectionText (controller),
                  juce::dontSendNotification);
}

void LayoutEditPanel::resized()
{
    auto area = getLocalBounds();
    modeButton.setBounds (area.removeFromTop (30).reduced (2));
    const std::vector<juce::TextButton*> rows[] = { { &save, &saveAs, &load },
                                                    { &undo, &fit, &resetAll },
                                                    { &group, &manualGroup, &lock },
                                                    { &reset, &front, &back } };
    for (const auto& row : rows)
    {
        auto line = area.removeFromTop (28);
        const int w = line.getWidth() / (int)row.size();
        for (auto* b : row)
            b->setBounds (line.removeFromLeft (w).reduced (2));
    }
    info.setBounds (area.reduced (2, 4));
}

LayoutAttributesPanel::LayoutAttributesPanel (LayoutController& c) : controller (c)
{
    const char* captions[] = { "X",         "Y",          "WIDTH",     "HEIGHT",    "FONT SIZE", "SIZE",
                               "LCD SCALE", "TEXT SHIFT", "LCD H IN",  "LCD V IN",  "LCD SHIFT", "TEXT" };
    const char* ids[] = { "x",
                          "y",
                          "width",
                          "height",
                          "fontSize",
                          "visualSize",
                          "lcdTextScale",
                          "textVerticalShift",
                          "lcdHorizontalInset",
                          "lcdVerticalInset",
                          "lcdVerticalShift",
                          "text" };
    for (size_t i = 0; i < fields.size(); ++i)
    {
        fields[i].caption.setText (captions[i], juce::dontSendNotification);
        fields[i].caption.setFont (juce::Font (12.0f, juce::Font::bold));
        fields[i].editor.setComponentID (juce::String ("parameterAttributes.") + ids[i]);
        fields[i].caption.setComponentID (juce::String ("parameterAttributes.") + ids[i] + ".label");
        fields[i].editor.onReturnKey = [this] { commit(); };
        fields[i].editor.onFocusLost = [this] { commit(); };
        addAndMakeVisible (fields[i].caption);
        addAndMakeVisible (fields[i].editor);
    }
    for (size_t i = 0; i < LayoutStyle::buttonStyles().size(); ++i)
        buttonStyle.addItem (LayoutStyle::buttonStyleCaptions()[i], (int)i + 1);
    for (size_t i = 0; i < LayoutStyle::ledColors().size(); ++i)
        ledColor.addItem (LayoutStyle::ledColorCaptions()[i], (int)i + 1);
    buttonStyle.setTextWhenNothingSelected ("(ITEM'S OWN)");
    ledColor.setTextWhenNothingSelected ("(ITEM'S OWN)");
    buttonStyle.onChange = [this] { commit(); };
    ledColor.onChange = [this] { commit(); };
    bold.onClick = [this] { commit(); };
    buttonStyle.setComponentID ("parameterAttributes.buttonStyle");
    buttonStyleCaption.setComponentID ("parameterAttributes.buttonStyle.label");
    ledColorCaption.setComponentID ("parameterAttributes.ledColor.label");
    ledColor.setComponentID ("parameterAttributes.ledColor");
    bold.setComponentID ("parameterAttributes.bold");
    title.setComponentID ("parameterAttributes.title");
    title.setFont (juce::Font (12.0f, juce::Font::bold));
    title.setJustificationType (juce::Justification::topLeft);
    for (juce::Component* x :
         { static_cast<juce::Component*> (&title), static_cast<juce::Component*> (&bold),
           static_cast<juce::Component*> (&buttonStyleCaption), static_cast<juce::Component*> (&ledColorCaption),
           static_cast<juce::Component*> (&buttonStyle), static_cast<juce::Component*> (&ledColor) })
        addAndMakeVisible (*x);
    listener = listen (controller, [this] { refresh(); });
    refresh();
}

LayoutAttributesPanel::~LayoutAttributesPanel()
{
    controller.listeners[listener] = nullptr;
}

void LayoutAttributesPanel::refresh()
{
    const auto& selected = controller.session().selected();
    shownId = selected.empty() ? std::string() : selected.front();
    const bool any = !shownId.empty();
    for (auto& f : fields)
        f.editor.setEnabled (any);
    bold.setEnabled (any);
    buttonStyle.setEnabled (any);
    ledColor.setEnabled (any);
    if (!any)
    {
        title.setText ("PARAMETER ATTRIBUTES\nSelect an item in layout mode (Ctrl+L).", juce::dontSendNotification);
        for (auto& f : fields)
        {
            f.editor.clear();
            f.editor.setTextToShowWhenEmpty ({}, {});
        }
        return;
    }
    const auto* item = controller.session().item (shownId);
    fields[5].caption.setText (item != nullptr && item->type == "LED" ? "DIAM" : "SIZE", juce::dontSendNotification);
    title.setText (juce::String (shownId) + "\n" + (item != nullptr ? juce::String (item->type) : juce::String()),
                   juce::dontSendNotification);
    const auto r = controller.session().rect (shownId);
    const auto* s = controller.session().style (shownId);
    const auto number = [] (std::optional<int> v) { return v ? juce::String (*v) : juce::String(); };
    const juce::String values[] = { juce::String (r.x),
                                    juce::String (r.y),
                                    juce::String (r.width),
                                    juce::String (r.height),
                                    s && s->fontSize ? juce::String (*s->fontSize, 1) : juce::String(),
                                    s && s->visualSize ? juce::String (*s->visualSize) : juce::String(),
                                    s && s->lcdTextScale ? juce::String (*s->lcdTextScale, 2) : juce::String(),
                                    number (s ? s->textVerticalShift : std::nullopt),
                                    number (s ? s->lcdHorizontalInset : std::nullopt),
                                    number (s ? s->lcdVerticalInset : std::nullopt),
                                    number (s ? s->lcdVerticalShift : std::nullopt),
                                    s && s->text ? juce::String::fromUTF8 (s->text->c_str()) : juce::String() };
    // An empty field keeps the item's own value, shown greyed in it.
    static const char* const defaults[] = { nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            "layoutEditorDefaultFontSize",
                                            nullptr,
                                            "layoutEditorDefaultLcdTextScale",
                                            "layoutEditorDefaultTextVerticalShift",
                                            "layoutEditorDefaultLcdHorizontalInset",
                                            "layoutEditorDefaultLcdVerticalInset",
                                            "layoutEditorDefaultLcdVerticalShift",
                                            "layoutEditorDefaultText" };
    auto* component = controller.component (shownId);
    for (size_t i = 0; i < fields.size(); ++i)
    {
        const auto own = defaults[i] != nullptr && component != nullptr ? component->getProperties()[defaults[i]] : juce::var();
        fields[i].editor.setTextToShowWhenEmpty (own.isVoid() ? juce::String() : own.toString(), palette::dimText.withAlpha (0.7f));
        if (!fields[i].editor.hasKeyboardFocus (false))
            fields[i].editor.setText (values[i], false);
    }
    bold.setToggleState (s && s->bold && *s->bold, juce::dontSendNotification);
    const auto indexOf = [] (const std::optional<std::string>& v, const std::vector<std::string>& list)
    {
        const auto at = v ? std::find (list.begin(), list.end(), *v) : list.end();
        return at == list.end() ? 0 : (int)(at - list.begin()) + 1;
    };
    buttonStyle.setSelectedId (indexOf (s ? s->buttonStyle : std::nullopt, LayoutStyle::buttonStyles()),
                               juce::dontSendNotification);
    ledColor.setSelectedId (indexOf (s ? s->ledColor : std::nullopt, LayoutStyle::ledColors()),
                            juce::dontSendNotification);
}

void LayoutAttributesPanel::commit()
{
    if (shownId.empty())
        return;
    auto& session = controller.session();
    const auto text = [this] (size_t i) { return fields[i].editor.getText().trim(); };
    const auto r = session.rect (shownId);
    const int values[] = { text (0).getIntValue(), text (1).getIntValue(), text (2).getIntValue(),
                           text (3).getIntValue() };
    if (values[0] != r.x || values[1] != r.y)
        session.moveSelection (values[0] - r.x, values[1] - r.y);
    if (values[2] != r.width || values[3] != r.height)
        session.resizeSelection (values[2] - r.width, values[3] - r.height);

    LayoutStyle s;
    s.id = shownId;
    if (text (4).isNotEmpty() && text (4).getDoubleValue() >= 1.0)
        s.fontSize = text (4).getDoubleValue();
    if (text (5).getIntValue() > 0)
        s.visualSize = text (5).getIntValue();
    if (const auto scale = text (6).getDoubleValue(); scale > 0.0 && scale <= 10.0)
        s.lcdTextScale = scale;
    // Shifts and insets: an empty field keeps the item's own; 0 is a value like any other.
    const auto whole = [&text] (size_t i) { return text (i).isEmpty() ? std::nullopt : std::optional<int> (text (i).getIntValue()); };
    s.textVerticalShift = whole (7);
    s.lcdHorizontalInset = whole (8);
    s.lcdVerticalInset = whole (9);
    s.lcdVerticalShift = whole (10);
    if (text (textField).isNotEmpty())
        s.text = text (textField).toStdString();
    if (bold.getToggleState())
        s.bold = true;
    if (buttonStyle.getSelectedId() > 0)
        s.buttonStyle = LayoutStyle::buttonStyles()[(size_t)buttonStyle.getSelectedId() - 1];
    if (ledColor.getSelectedId() > 0)
        s.ledColor = LayoutStyle::ledColors()[(size_t)ledColor.getSelectedId() - 1];
    const auto* old = session.style (shownId);
    if (old == nullptr ? !s.isEmpty() : !(*old == s))
        session.setStyle (s);
    controller.apply();
    controller.changed();
}

void LayoutAttributesPanel::resized()
{
    auto area = getLocalBounds().reduced (2);
    title.setBounds (area.removeFromTop (34));
    for (size_t i = 0; i < textField; i += 2)
    {
        auto line = area.removeFromTop (26);
        for (size_t k = i; k < std::min (i + 2, textField); ++k)
        {
            auto half = line.removeFromLeft (area.getWidth() / 2);
            fields[k].caption.setBounds (half.removeFromLeft (74));
            fields[k].editor.setBounds (half.reduced (2));
        }
        area.removeFromTop (2);
    }
    auto textLine = area.removeFromTop (26);
    fields[textField].caption.setBounds (textLine.removeFromLeft (44));
    fields[textField].editor.setBounds (textLine.reduced (2));
    area.removeFromTop (2);
    bold.setBounds (area.removeFromTop (26).removeFromLeft (100));
    auto line = area.removeFromTop (26);
    buttonStyleCaption.setBounds (line.removeFromLeft (104));
    buttonStyle.setBounds (line.reduced (2));
    line = area.removeFromTop (26);
    ledColorCaption.setBounds (line.removeFromLeft (104));
    ledColor.setBounds (line.reduced (2));
}

DigitalFxConfigPanel::DigitalFxConfigPanel (LayoutController& c) : controller (c)
{
    save.setComponentID ("digitalFxConfig.save");
    reload.setComponentID ("digitalFxConfig.reload");
    info.setComponentID ("digitalFxConfig.info");
    save.setTooltip ("Save the places of this algorithm's controls; they come back whenever it is shown.");
    reload.setTooltip ("Put this algorithm's saved Digital FX layout back.");
    save.onClick = [this] { controller.saveDigitalFx(); };
    reload.onClick = [this] { controller.reloadDigitalFx(); };
    info.setJustificationType (juce::Justification::topLeft);
    info.setFont (juce::Font (12.0f));
    for (juce::Component* x : { static_cast<juce::Component*> (&save), static_cast<juce::Component*> (&reload),
                                static_cast<juce::Component*> (&info) })
        addAndMakeVisible (*x);
    listener = listen (controller, [this] { refresh(); });
    refresh();
}

DigitalFxConfigPanel::~DigitalFxConfigPanel()
{
    controller.listeners[listener] = nullptr;
}

void DigitalFxConfigPanel::refresh()
{
    const auto name = controller.currentAlgorithmName ? controller.currentAlgorithmName() : std::string();
    const auto file = controller.library().digitalFxFile (name);
    info.setText ("DIGITAL FX CONFIG\nALGORITHM: " + juce::String (name) + "\nFILE: " + file.getFileName() +
                      (file.existsAsFile() ? "" : " (NOT SAVED YET)") +
                      "\n\nMove the EFFECTS page's controls in layout mode, then SAVE FX LAYOUT.",
                  juce::dontSendNotification);
}

void DigitalFxConfigPanel::resized()
{
    auto area = getLocalBounds();
    auto row = area.removeFromTop (30);
    save.setBounds (row.removeFromLeft (row.getWidth() / 2).reduced (2));
    reload.setBounds (row.reduced (2));
    info.setBounds (area.reduced (2, 4));
}

LayoutPropertiesPanel::LayoutPropertiesPanel (LayoutController& c) : controller (c)
{
    view.setComponentID ("parameterProperties.display");
    view.setMultiLine (true);
    view.setReadOnly (true);
    view.setCaretVisible (false);
    addAndMakeVisible (view);
    listener = listen (controller, [this] { refresh(); });
    refresh();
}

LayoutPropertiesPanel::~LayoutPropertiesPanel()
{
    controller.listeners[listener] = nullptr;
}

void LayoutPropertiesPanel::refresh()
{
    const auto& selected = controller.session().selected();
    if (selected.empty())
    {
        view.setText ("PARAMETER PROPERTIES\n\nSelect an item in layout mode (Ctrl+L) to see what it is and the "
                      "parameter it shows.",
                      false);
        return;
    }
    const auto& id = selected.front();
    juce::String text;
    text << "LAYOUT ID: " << id << "\n";
    if (const auto* item = controller.session().item (id))
        text << "KIND: " << item->type << "\nOWN PLACE: " << item->rect.x << ", " << item->rect.y << "  "
             << item->rect.width << " x " << item->rect.height << "\n";
    text << "OVERRIDDEN: " << (controller.session().isOverridden (id) ? "YES" : "NO") << "\n";
    if (auto* c = controller.component (id))
    {
        if (auto* control = dynamic_cast<ParameterControl*> (c))
        {
            const auto& info = control->getInfo();
            text << "\nPARAMETER: " << info.id << "\nNAME: " << info.name << "\nNRPN: " << info.nrpn
                 << "\nRAW RANGE: " << info.rawMin << " to " << info.rawMax << "\n";
        }
        text << "\n" << layoutItemPropertyText (*c) << "\n";
    }
    view.setText (text, false);
}

void LayoutPropertiesPanel::resized()
{
    view.setBounds (getLocalBounds());
}

} // namespace orvo
