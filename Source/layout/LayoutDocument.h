#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** A rectangle on the 1280 x 1024 design surface. */
struct LayoutRect
{
    int x = 0, y = 0, width = 0, height = 0;
    bool operator== (const LayoutRect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    bool operator!= (const LayoutRect& o) const { return !(*this == o); }
};

struct LayoutTarget
{
    std::string id;
    LayoutRect rect;
    /** The item kind ("Label", "Button", "Slider/Knob" ...); empty when unknown. */
    std::string type;
};

/** The style attributes one item overrides; an empty optional keeps the item's own. */
struct LayoutStyle
{
    std::string id;
    std::optional<double> fontSize, lcdTextScale;
    std::optional<int> visualSize, lcdHorizontalInset, lcdVerticalInset, lcdVerticalShift, textVerticalShift;
    std::optional<std::string> text, buttonStyle, ledColor;
    std::optional<bool> bold;

    bool isEmpty() const;
    bool operator== (const LayoutStyle&) const;

    static const std::vector<std::string>& buttonStyles();
    static const std::vector<std::string>& buttonStyleCaptions();
    static const std::vector<std::string>& ledColors();
    static const std::vector<std::string>& ledColorCaptions();
};

struct LayoutPageHeight
{
    std::string id; // "page0" for the first page
    int height = 0;
};

struct LayoutGroup
{
    std::string id, name;
    bool locked = false;
    std::vector<std::string> members;
};

/** A layout document: positions, drawing order, styles, page heights and groups of the items it
    overrides. Everything it does not name keeps the editor's own look. */
struct LayoutDocument
{
    static constexpr const char* formatName = "OrvoLayoutOverrides";
    static constexpr int writtenVersion = 8;
    static constexpr int newestReadableVersion = 8;
    /** Generated captions of the digital-effects grid became layout data in this version. */
    static constexpr int digitalCaptionStylesVersion = 8;
    static constexpr int minPageHeight = 100, maxPageHeight = 20000;
    /** Far more than the editor has items; a file beyond it is cut here so it cannot stall start-up. */
    static constexpr int maxTargets = 6000;
    static constexpr int designWidth = 1280, designHeight = 1024;

    int version = writtenVersion;
    std::vector<LayoutTarget> targets;
    std::vector<std::string> layerOrder;
    std::vector<LayoutStyle> styles;
    std::vector<LayoutPageHeight> pageHeights;
    std::vector<LayoutGroup> groups;

    const LayoutTarget* target (const std::string& id) const;
    const LayoutStyle* style (const std::string& id) const;
    const LayoutGroup* group (const std::string& id) const;
    std::optional<int> pageHeight (const std::string& pageId) const;
};

/** What reading a layout document gave: the document, or the reason it was refused; `notes` says
    what was dropped or clamped on the way (one sentence each). */
struct LayoutReadResult
{
    std::optional<LayoutDocument> document;
    std::string error;
    std::vector<std::string> notes;
};

/** Reads a parsed document. Refused: not an object, a "format" other than "OrvoLayoutOverrides",
    no "targets", a "version" outside 1 to 8 (a missing one counts as 1). */
LayoutReadResult readLayoutDocument (const juce::var& json);
/** The same from JSON text; text that does not parse is refused with the parser's reason. */
LayoutReadResult readLayoutText (std::string_view utf8);

/** The document as written: "format", "version" 8, "minimumEditorLayoutSchema" 8, "targets",
    "layerOrder", "styles", "pageHeights", "groups", in that order. */
juce::var layoutDocumentJson (const LayoutDocument& document);
std::string layoutDocumentText (const LayoutDocument& document);

} // namespace orvo
