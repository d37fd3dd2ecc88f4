#include "LayoutDocument.h"

#include "library/JsonText.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace orvo
{
namespace
{
juce::String str (const std::string& s)
{
    return juce::String::fromUTF8 (s.c_str());
}
std::string std8 (const juce::var& v)
{
    return v.toString().toStdString();
}

bool isNumber (const juce::var& v)
{
    return v.isInt() || v.isInt64() || v.isDouble();
}

std::optional<double> documentReal (const juce::var& v)
{
    if (!isNumber (v))
        return std::nullopt;
    const double d = (double)v;
    if (!std::isfinite (d))
        return std::nullopt;
    return d;
}

std::optional<std::string> oneOf (const juce::var& v, const std::vector<std::string>& allowed)
{
    if (!v.isString())
        return std::nullopt;
    const auto s = std8 (v);
    if (std::find (allowed.begin(), allowed.end(), s) == allowed.end())
        return std::nullopt;
    return s;
}

bool isGeneratedDigitalCaption (const std::string& id)
{
    const auto endsWith = [&id] (std::string_view tail)
    { return id.size() >= tail.size() && id.compare (id.size() - tail.size(), tail.size(), tail) == 0; };
    return id.rfind ("editor.effects.digital.row.", 0) == 0 && (endsWith (".label") || endsWith (".name"));
}

LayoutStyle readStyle (const juce::var& entry)
{
    LayoutStyle s;
    s.id = std8 (entry["id"]);
    s.fontSize = documentReal (entry["fontSize"]);
    s.lcdTextScale = documentReal (entry["lcdTextScale"]);
    if (isNumber (entry["visualSize"]))
        s.visualSize = documentInt (entry["visualSize"]);
    const auto intField = [&entry] (const char* key) -> std::optional<int>
    { return isNumber (entry[key]) ? documentInt (entry[key]) : std::nullopt; };
    s.lcdHorizontalInset = intField ("lcdHorizontalInset");
    s.lcdVerticalInset = intField ("lcdVerticalInset");
    s.lcdVerticalShift = intField ("lcdVerticalShift");
    s.textVerticalShift = intField ("textVerticalShift");
    if (entry["text"].isString())
        s.text = std8 (entry["text"]);
    if (entry["bold"].isBool())
        s.bold = (bool)entry["bold"];
    s.buttonStyle = oneOf (entry["buttonStyle"], LayoutStyle::buttonStyles());
    s.ledColor = oneOf (entry["ledColor"], LayoutStyle::ledColors());
    // A size below nothing or far beyond the surface is a broken value, not a style.
    if (s.fontSize && (*s.fontSize < 1.0 || *s.fontSize > 200.0))
        s.fontSize.reset();
    if (s.visualSize && (*s.visualSize < 1 || *s.visualSize > LayoutDocument::designWidth))
        s.visualSize.reset();
    if (s.lcdTextScale && (*s.lcdTextScale <= 0.0 || *s.lcdTextScale > 10.0))
        s.lcdTextScale.reset();
    return s;
}

juce::var styleJson (const LayoutStyle& s)
{
    auto* o = new juce::DynamicObject();
    o->setProperty ("id", str (s.id));
    if (s.fontSize)
        o->setProperty ("fontSize", *s.fontSize);
    if (s.visualSize)
        o->setProperty ("visualSize", *s.visualSize);
    if (s.text)
        o->setProperty ("text", str (*s.text));
    if (s.bold)
        o->setProperty ("bold", *s.bold);
    if (s.buttonStyle)
        o->setProperty ("buttonStyle", str (*s.buttonStyle));
    if (s.ledColor)
        o->setProperty ("ledColor", str (*s.ledColor));
    if (s.lcdTextScale)
        o->setProperty ("lcdTextScale", *s.lcdTextScale);
    if (s.lcdHorizontalInset)
        o->setProperty ("lcdHorizontalInset", *s.lcdHorizontalInset);
    if (s.lcdVerticalInset)
        o->setProperty ("lcdVerticalInset", *s.lcdVerticalInset);
    if (s.lcdVerticalShift)
        o->setProperty ("lcdVerticalShift", *s.lcdVerticalShift);
    if (s.textVerticalShift)
        o->setProperty ("textVerticalShift", *s.textVerticalShift);
    return juce::var (o);
}

std::string plural (size_t n, const char* one, const char* many)
{
    return std::to_string (n) + " " + (n == 1 ? one : many);
}
} // namespace

bool LayoutStyle::isEmpty() const
{
    return !(fontSize || lcdTextScale || visualSize || lcdHorizontalInset || lcdVerticalInset || lcdVerticalShift ||
             textVerticalShift || text || buttonStyle || ledColor || bold);
}

bool LayoutStyle::operator== (const LayoutStyle& o) const
{
    return id == o.id && fontSize == o.fontSize && lcdTextScale == o.lcdTextScale && visualSize == o.visualSize &&
           lcdHorizontalInset == o.lcdHorizontalInset && lcdVerticalInset == o.lcdVerticalInset &&
           lcdVerticalShift == o.lcdVerticalShift && textVerticalShift == o.textVerticalShift && text == o.text &&
           buttonStyle == o.buttonStyle && ledColor == o.ledColor && bold == o.bold;
}

const std::vector<std::string>& LayoutStyle::buttonStyles()
{
    static const std::vector<std::string> v{ "default",       "lightGrey", "black",      "darkGrey",  "blackRectangle",
                                             "greyRectangle", "flat",      "largeBlack", "largeGrey", "smallBlack",
                                             "smallGrey",     "topBar",    "panel" };
    return v;
}

const std::vector<std::string>& LayoutStyle::buttonStyleCaptions()
{
    static const std::vector<std::string> v{ "DEFAULT",         "LIGHT GREY",     "BLACK",      "DARK GREY",
                                             "BLACK RECTANGLE", "GREY RECTANGLE", "FLAT",       "LARGE BLACK",
                                             "LARGE GREY",      "SMALL BLACK",    "SMALL GREY", "TOP BAR",
                                             "PANEL COLOR" };
    return v;
}

const std::vector<std::string>& LayoutStyle::ledColors()
{
    static const std::vector<std::string> v{ "green", "red", "orange", "white" };
    return v;
}

const std::vector<std::string>& LayoutStyle::ledColorCaptions()
{
    static const std::vector<std::string> v{ "GREEN", "RED", "ORANGE", "WHITE" };
    return v;
}

const LayoutTarget* LayoutDocument::target (const std::string& id) const
{
    for (const auto& t : targets)
        if (t.id == id)
            return &t;
    return nullptr;
}

const LayoutStyle* LayoutDocument::style (const std::string& id) const
{
    for (const auto& s : styles)
        if (s.id == id)
            return &s;
    return nullptr;
}

const LayoutGroup* LayoutDocument::group (const std::string& id) const
{
    for (const auto& g : groups)
        if (g.id == id)
            return &g;
    return nullptr;
}

std::optional<int> LayoutDocument::pageHeight (const std::string& pageId) const
{
    for (const auto& p : pageHeights)
        if (p.id == pageId)
            return p.height;
    return std::nullopt;
}

LayoutReadResult readLayoutDocument (const juce::var& json)
{
    LayoutReadResult result;
    if (!json.isObject() || json["format"].toString() != LayoutDocument::formatName || !json.hasProperty ("targets"))
    {
        result.error = "The file is not an Orvo layout document.";
        return result;
    }
    LayoutDocument doc;
    doc.version = 1;
    if (json.hasProperty ("version"))
    {
        const auto v = isNumber (json["version"]) ? documentInt (json["version"]) : std::nullopt;
        if (!v || *v < 1 || *v > LayoutDocument::newestReadableVersion)
        {
            result.error = "The layout document's version " + json["version"].toString().toStdString() +
                           " is not one this editor reads (1 to " +
                           std::to_string (LayoutDocument::newestReadableVersion) + ").";
            return result;
        }
        doc.version = *v;
    }

    // A later entry for the same id replaces an earlier one, so every id appears once.
    std::map<std::string, size_t> targetIndex;
    size_t dropped = 0, clamped = 0, beyondLimit = 0;
    if (const auto* targets = json["targets"].getArray())
        for (const auto& t : *targets)
        {
            const auto id = std8 (t["id"]);
            const auto x = documentInt (t["x"]), y = documentInt (t["y"]), w = documentInt (t["width"]),
                       h = documentInt (t["height"]);
            if (!t["id"].isString() || id.empty() || !isNumber (t["x"]) || !isNumber (t["y"]) ||
                !isNumber (t["width"]) || !isNumber (t["height"]) || !x || !y || !w || !h)
            {
                ++dropped;
                continue;
            }
            LayoutRect r{ juce::jlimit (0, LayoutDocument::designWidth, *x),
                          juce::jlimit (0, LayoutDocument::maxPageHeight, *y),
                          juce::jlimit (0, LayoutDocument::designWidth, *w),
                          juce::jlimit (0, LayoutDocument::maxPageHeight, *h) };
            if (r != LayoutRect{ *x, *y, *w, *h })
                ++clamped;
            auto found = targetIndex.find (id);
            if (found != targetIndex.end())
            {
                doc.targets[found->second].rect = r;
                continue;
            }
            if ((int)doc.targets.size() >= LayoutDocument::maxTargets)
            {
                ++beyondLimit;
                continue;
            }
            targetIndex[id] = doc.targets.size();
            doc.targets.push_back ({ id, r, t["type"].isString() ? std8 (t["type"]) : std::string() });
        }
    else
    {
        result.error = "The layout document's \"targets\" is not a list.";
        return result;
    }
    if (dropped > 0)
        result.notes.push_back (plural (dropped, "target without an id and a whole rectangle was",
                                        "targets without an id and a whole rectangle were") +
                                " ignored.");
    if (clamped > 0)
        result.notes.push_back (plural (clamped, "target rectangle was", "target rectangles were") +
                                " clamped to the design surface.");
    if (beyondLimit > 0)
        result.notes.push_back (plural (beyondLimit, "target beyond the first ", "targets beyond the first ") +
                                std::to_string (LayoutDocument::maxTargets) + " were ignored.");

    if (const auto* order = json["layerOrder"].getArray())
        for (const auto& id : *order)
            if (id.isString() && (int)doc.layerOrder.size() < LayoutDocument::maxTargets)
                doc.layerOrder.push_back (std8 (id));

    size_t ignoredCaptions = 0;
    if (const auto* styles = json["styles"].getArray())
        for (const auto& entry : *styles)
        {
            auto s = readStyle (entry);
            if (!entry["id"].isString() || s.id.empty() || s.isEmpty() ||
                (int)doc.styles.size() >= LayoutDocument::maxTargets)
                continue;
            // Older documents stored the captions the effects grid now generates from the current effect.
            if (doc.version < LayoutDocument::digitalCaptionStylesVersion && isGeneratedDigitalCaption (s.id))
            {
                ++ignoredCaptions;
                continue;
            }
            doc.styles.erase (std::remove_if (doc.styles.begin(), doc.styles.end(),
                                              [&s] (const LayoutStyle& o) { return o.id == s.id; }),
                              doc.styles.end());
            doc.styles.push_back (std::move (s));
        }
    if (ignoredCaptions > 0)
        result.notes.push_back (plural (ignoredCaptions, "style entry for a generated Digital FX caption was",
                                        "style entries for generated Digital FX captions were") +
                                " ignored (version " + std::to_string (doc.version) + ").");

    if (const auto* heights = json["pageHeights"].getArray())
        for (const auto& p : *heights)
        {
            const auto h = isNumber (p["height"]) ? documentInt (p["height"]) : std::nullopt;
            if (!p["id"].isString() || !h || doc.pageHeights.size() >= 64)
                continue;
            doc.pageHeights.push_back (
                { std8 (p["id"]), juce::jlimit (LayoutDocument::minPageHeight, LayoutDocument::maxPageHeight, *h) });
        }

    size_t droppedGroups = 0;
    if (const auto* groups = json["groups"].getArray())
        for (const auto& g : *groups)
        {
            LayoutGroup group{ std8 (g["id"]), std8 (g["name"]), g["locked"].isBool() && (bool)g["locked"], {} };
            if (const auto* members = g["members"].getArray())
                for (const auto& m : *members)
                    if (m.isString() &&
                        std::find (group.members.begin(), group.members.end(), std8 (m)) == group.members.end())
                        group.members.push_back (std8 (m));
            if (!g["id"].isString() || group.id.empty() || !g["name"].isString() || group.name.empty() ||
                group.members.size() < 2 || doc.groups.size() >= 1000)
            {
                ++droppedGroups;
                continue;
            }
            doc.groups.push_back (std::move (group));
        }
    if (droppedGroups > 0)
        result.notes.push_back (plural (droppedGroups, "group without a name or with fewer than two members was",
                                        "groups without a name or with fewer than two members were") +
                                " dropped.");

    result.document = std::move (doc);
    return result;
}

LayoutReadResult readLayoutText (std::string_view utf8)
{
    juce::var json;
    if (const auto parsed = parseJson (utf8, json); parsed.failed())
    {
        LayoutReadResult result;
        result.error = parsed.getErrorMessage().toStdString();
        return result;
    }
    return readLayoutDocument (json);
}

juce::var layoutDocumentJson (const LayoutDocument& doc)
{
    auto* root = new juce::DynamicObject();
    root->setProperty ("format", LayoutDocument::formatName);
    root->setProperty ("version", LayoutDocument::writtenVersion);
    root->setProperty ("minimumEditorLayoutSchema", LayoutDocument::writtenVersion);
    juce::Array<juce::var> targets, order, styles, heights, groups;
    for (const auto& t : doc.targets)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("id", str (t.id));
        o->setProperty ("x", t.rect.x);
        o->setProperty ("y", t.rect.y);
        o->setProperty ("width", t.rect.width);
        o->setProperty ("height", t.rect.height);
        if (!t.type.empty())
            o->setProperty ("type", str (t.type));
        targets.add (juce::var (o));
    }
    for (const auto& id : doc.layerOrder)
        order.add (str (id));
    for (const auto& s : doc.styles)
        styles.add (styleJson (s));
    for (const auto& p : doc.pageHeights)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("id", str (p.id));
        o->setProperty ("height", p.height);
        heights.add (juce::var (o));
    }
    for (const auto& g : doc.groups)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("id", str (g.id));
        o->setProperty ("name", str (g.name));
        o->setProperty ("locked", g.locked);
        juce::Array<juce::var> members;
        for (const auto& m : g.members)
            members.add (str (m));
        o->setProperty ("members", members);
        groups.add (juce::var (o));
    }
    root->setProperty ("targets", targets);
    root->setProperty ("layerOrder", order);
    root->setProperty ("styles", styles);
    root->setProperty ("pageHeights", heights);
    root->setProperty ("groups", groups);
    return juce::var (root);
}

std::string layoutDocumentText (const LayoutDocument& document)
{
    return toJsonText (layoutDocumentJson (document));
}

} // namespace orvo
