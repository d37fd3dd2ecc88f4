#pragma once

#include "tools/ui/ToolPanels.h"

#include <functional>
#include <string>

namespace orvo
{

/** PARAMETER HELP: what the selected control does, and how to use it. */
class ParameterHelpPanel final : public ToolPanel
{
public:
    /** `selectedKey` gives the key of the selected control, empty when none is selected. */
    explicit ParameterHelpPanel (std::function<std::string()> selectedKey);
    void refresh() override;
    void resized() override;

private:
    std::function<std::string()> selectedKey;
    std::string shownKey = "-";
    juce::TextEditor view;
};

} // namespace orvo
