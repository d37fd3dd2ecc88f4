#include "LayoutController.h"

#include "LayoutItemProperties.h"
#include "LayoutOverlay.h"
#include "layout/LayoutStyleLook.h"
#include "engine/ColourScheme.h"
#include "library/AtomicFile.h"
#include "library/JsonText.h"
#include "model/EmbeddedResources.h"

namespace orvo
{
namespace
{
LayoutRect toLayout (juce::Rectangle<int> r)
{
    return { r.getX(), r.getY(), r.getWidth(), r.getHeight() };
}
juce::Rectangle<int> toJuce (const LayoutRect& r)
{
    return { r.x, r.y, r.width, r.height };
}

/** Puts the style attributes the drawing code reads onto the component; true when any changed. */
bool setStyleProperties (juce::Component& c, const LayoutStyle* s)
{
    using namespace layoutLook;
    const auto number = [] (const auto& v) { return v ? juce::var (*v) : juce::var(); };
    // "default" is the item's own look, as no style is.
    const bool styled = s != nullptr && s->buttonStyle && *s->buttonStyle != "default";
    const std::pair<const char*, juce::var> wanted[] = {
        { visualSizeProperty, s ? number (s->visualSize) : juce::var() },
        { buttonStyleProperty, styled ? juce::var (juce::String (*s->buttonStyle)) : juce::var() },
        { lcdTextScaleProperty, s ? number (s->lcdTextScale) : juce::var() },
        { lcdHorizontalInsetProperty, s ? number (s->lcdHorizontalInset) : juce::var() },
        { lcdVerticalInsetProperty, s ? number (s->lcdVerticalInset) : juce::var() },
        { lcdVerticalShiftProperty, s ? number (s->lcdVerticalShift) : juce::var() },
        { textVerticalShiftProperty, s ? number (s->textVerticalShift) : juce::var() },
    };
    bool changed = false;
    auto& props = c.getProperties();
    for (const auto& [name, value] : wanted)
    {
        if (props[name] == value && props.contains (name) == !value.isVoid())
            continue;
        changed = true;
        if (value.isVoid())
            props.remove (name);
        else
            props.set (name, value);
    }
    return changed;
}
} // namespace

LayoutController::LayoutController (juce::Component& r, Prompts& prompts, FileDialogs& dialogs,
                                    std::function<juce::File()> layoutsFolder, Log l)
    : root (r), log (std::move (l)), edits (log), files (edits, std::move (layoutsFolder), prompts, dialogs, log)
{
    overlay = std::make_unique<LayoutOverlay> (*this);
    root.addChildComponent (*overlay);
}

LayoutController::~LayoutController()
{
    root.removeChildComponent (overlay.get());
}

void LayoutController::startup()
{
    const auto resource = embeddedResource ("Default.layout.json");
    const auto read = readLayoutText (std::string_view (reinterpret_cast<const char*> (resource.data), resource.size));
    if (read.document)
        edits.setDefaultDocument (*read.document);
    else
        log ("LAYOUT: the built-in default layout could not be read: " + read.error + "\n");
    collect();
    files.loadAtStartup();
    apply();
}

void LayoutController::collect()
{
    items.clear();
    byId.clear();
    for (auto& item : collectLayoutItems (root))
        if (item.component != overlay.get())
        {
            // A developer's slip: two items answering to one id could not be placed apart.
            if (const auto [at, added] = byId.emplace (item.id, item.component);
                !added && at->second != item.component && reportedDuplicates.insert (item.id).second)
                log ("DUPLICATE ID: " + item.id + "\n");
            items.push_back (std::move (item));
        }
}

void LayoutController::apply()
{
    if (applying)
        return;
    const juce::ScopedValueSetter<bool> guard (applying, true);
    collect();
    std::vector<LayoutEditSession::Item> known;
    known.reserve (items.size());
    for (const auto& item : items)
    {
        auto& c = *item.component;
        const auto now = toLayout (c.getBounds());
        const auto* before = edits.item (item.id);
        const auto shown = c.getProperties()["layoutApplied"];
        // Bounds that differ from what the layout set last were placed by the editor itself.
        const bool placedByEditor =
            shown.isVoid() || juce::Rectangle<int>::fromString (shown.toString()) != c.getBounds();
        const auto own = placedByEditor || before == nullptr ? now : before->rect;
        known.push_back ({ item.id, item.type, own, isShownWithin (c, root) });
    }
    edits.setItems (known);
    for (const auto& item : items)
    {
        auto& c = *item.component;
        if (c.getProperties()[layoutProperty::placedByParent])
        {
            applyStyle (c, item.id);
            continue;
        }
        if (const auto r = edits.userRect (item.id))
        {
            c.setBounds (toJuce (*r));
            c.getProperties().set ("layoutApplied", c.getBounds().toString());
        }
        else if (c.getProperties().contains ("layoutApplied"))
        {
            // A reset item goes back where the editor put it.
            c.setBounds (toJuce (edits.item (item.id)->rect));
            c.getProperties().remove ("layoutApplied");
        }
        applyStyle (c, item.id);
        describeLayoutItem (c, item.id, edits.style (item.id));
    }
    for (const auto& id : edits.layerOrder())
        if (auto* c = component (id); c != nullptr && c->getParentComponent() != nullptr)
            c->toFront (false);
    if (afterApply)
        afterApply();
    if (overlay->isVisible())
    {
        overlay->setBounds (root.getLocalBounds());
        overlay->toFront (false);
        overlay->repaint();
    }
}

void LayoutController::applyStyle (juce::Component& c, const std::string& id)
{
    const auto* style = edits.style (id);
    noteLayoutDefaults (c);
    if (setStyleProperties (c, style))
    {
        // The pieces of a composite item take the attributes when it lays them out again.
        c.resized();
        c.repaint();
    }
    if (auto* editor = dynamic_cast<juce::TextEditor*> (&c))
        return applyTextDisplayStyle (*editor, id, style);
    const auto ownLed = style != nullptr && style->ledColor ? ColourScheme::ledColourNamed (*style->ledColor) : juce::Colour();
    const juce::var led = ownLed.isTransparent() ? juce::var() : juce::var ((juce::int64) ownLed.getARGB());
    if (c.getProperties()["ledColour"] != led)
    {
        if (led.isVoid())
            c.getProperties().remove ("ledColour");
        else
            c.getProperties().set ("ledColour", led);
        c.repaint();
    }
    auto* label = dynamic_cast<juce::Label*> (&c);
    auto* button = dynamic_cast<juce::Button*> (&c);
    if (label == nullptr && button == nullptr)
        return;
    auto found = originals.find (id);
    if (style == nullptr)
    {
        if (found != originals.end())
        {
            if (label != nullptr)
            {
                label->setText (found->second.text, juce::dontSendNotification);
                label->setFont (found->second.font);
            }
            else
                button->setButtonText (found->second.text);
            originals.erase (found);
        }
        return;
    }
    if (found == originals.end())
        found = originals
                    .emplace (id, Original{ label != nullptr ? label->getText() : button->getButtonText(),
                                            label != nullptr ? label->getFont() : juce::Font() })
                    .first;
    const auto& original = found->second;
    const auto text = style->text ? juce::String::fromUTF8 (style->text->c_str()) : original.text;
    if (label != nullptr)
    {
        auto font = original.font;
        if (style->fontSize)
            font.setHeight ((float)*style->fontSize);
        if (style->bold)
            font.setBold (*style->bold);
        label->setFont (font);
        label->setText (text, juce::dontSendNotification);
    }
    else
        button->setButtonText (text);
}

void LayoutController::applyTextDisplayStyle (juce::TextEditor& editor, const std::string& id, const LayoutStyle* style)
{
    const bool lcd = style != nullptr
                     && (style->lcdTextScale || style->lcdHorizontalInset || style->lcdVerticalInset || style->lcdVerticalShift);
    auto found = displayOriginals.find (id);
    if (found != displayOriginals.end() && lcd && found->second.applied == *style)
        return;
    if (found == displayOriginals.end())
    {
        if (!lcd)
            return;
        found = displayOriginals.emplace (id, DisplayOriginal{ editor.getFont(), editor.getLeftIndent(), editor.getTopIndent(), {} }).first;
    }
    const auto& own = found->second;
    auto font = own.font;
    font.setHeight (layoutLook::lcdFontHeight (own.font.getHeight(), lcd ? style->lcdTextScale : std::nullopt));
    editor.applyFontToAllText (font);
    if (!lcd)
    {
        editor.setIndents (own.left, own.top);
        displayOriginals.erase (found);
        return;
    }
    editor.setIndents (own.left + std::max (0, style->lcdHorizontalInset.value_or (0)),
                       std::max (0, own.top + std::max (0, style->lcdVerticalInset.value_or (0)) + style->lcdVerticalShift.value_or (0)));
    found->second.applied = *style;
}

void LayoutController::applyToPopup (juce::Component& popup)
{
    const auto id = popup.getComponentID().toStdString();
    forgetItems (id);
    if (const auto r = edits.userRect (id))
        popup.setSize (r->width, r->height); // where it shows is the call-out box's choice
    applyStyle (popup, id);
    for (const auto& item : collectLayoutItems (popup))
    {
        if (const auto r = edits.userRect (item.id))
            item.component->setBounds (toJuce (*r));
        applyStyle (*item.component, item.id);
    }
}

void LayoutController::forgetItems (const std::string& idPrefix)
{
    const auto under = [&idPrefix] (const std::string& id) { return id.rfind (idPrefix, 0) == 0; };
    for (auto it = originals.begin(); it != originals.end();)
        it = under (it->first) ? originals.erase (it) : std::next (it);
    for (auto it = displayOriginals.begin(); it != displayOriginals.end();)
        it = under (it->first) ? displayOriginals.erase (it) : std::next (it);
}

void LayoutController::showAlgorithm (int index)
{
    if (index == shownAlgorithm)
        return;
    shownAlgorithm = index;
    reloadDigitalFx();
}

void LayoutController::reloadDigitalFx()
{
    if (currentAlgorithmName && files.applyDigitalFx (currentAlgorithmName()))
    {
        apply();
        changed();
    }
}

void LayoutController::saveDigitalFx()
{
    files.saveDigitalFx (currentPage ? currentPage() : 0, currentAlgorithmName ? currentAlgorithmName() : std::string(),
                         visibleIds(), juce::Time::getCurrentTime());
    changed();
}

void LayoutController::setLayoutMode (bool on)
{
    edits.setEnabled (on);
    overlay->setVisible (on);
    if (on)
    {
        apply();
        overlay->grabKeyboardFocus();
    }
    if (onModeChanged)
        onModeChanged();
    changed();
}

std::vector<std::string> LayoutController::visibleIds()
{
    collect();
    std::vector<std::string> ids;
    for (const auto& item : items)
        if (isShownWithin (*item.component, root))
            ids.push_back (item.id);
    return ids;
}

juce::Component* LayoutController::component (const std::string& id) const
{
    const auto found = byId.find (id);
    return found == byId.end() ? nullptr : found->second;
}

juce::Rectangle<int> LayoutController::surfaceBounds (const std::string& id) const
{
    auto* c = component (id);
    if (c == nullptr || c->getParentComponent() == nullptr)
        return {};
    return root.getLocalArea (c->getParentComponent(), c->getBounds());
}

void LayoutController::save()
{
    files.saveToCurrent (visibleIds(), juce::Time::getCurrentTime());
    changed();
}

void LayoutController::saveAs()
{
    files.saveAs ([this] { return visibleIds(); }, juce::Time::getCurrentTime());
}

void LayoutController::load()
{
    files.load (
        [this]
        {
            apply();
            changed();
        });
}

void LayoutController::fitPage()
{
    const int page = currentPage ? currentPage() : 0;
    auto* pageComponent = component ("editor.page" + std::to_string (page));
    std::vector<std::string> onPage;
    for (const auto& item : items)
        if (item.component->getParentComponent() == pageComponent && item.component->isVisible())
            onPage.push_back (item.id);
    edits.fitPageHeight ("page" + std::to_string (page), 0, onPage);
    apply();
    changed();
}

void LayoutController::addCurrentLook (LayoutDocument& look)
{
    collect();
    for (const auto& item : items)
        if (look.target (item.id) == nullptr)
            look.targets.push_back ({ item.id, toLayout (item.component->getBounds()), item.type });
}

bool LayoutController::writeLook (LayoutDocument look, const juce::File& file)
{
    LayoutGroup grid{ "association.effects.digital.grid", "Digital FX Grid", false, {} };
    for (const auto& t : look.targets)
        if (t.id.rfind ("editor.effects.page", 0) == 0)
            grid.members.push_back (t.id);
    if (grid.members.size() > 1)
        look.groups.push_back (grid);
    for (int page = 0; page < 6; ++page)
        if (auto* c = component ("editor.page" + std::to_string (page)))
            look.pageHeights.push_back ({ "page" + std::to_string (page), c->getHeight() });
    auto json = layoutDocumentJson (look);
    // The built-in default keeps the schema of the layouts it was first made for.
    json.getDynamicObject()->setProperty ("version", 6);
    return writeTextFileAtomically (file, juce::String::fromUTF8 (toJsonText (json).c_str())).ok;
}

void LayoutController::changed()
{
    overlay->repaint();
    for (auto& l : listeners)
        if (l)
            l();
}

} // namespace orvo
