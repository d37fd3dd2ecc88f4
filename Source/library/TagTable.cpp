#include "TagTable.h"

#include "AtomicFile.h"
#include "JsonText.h"

namespace orvo
{

std::string defaultTagTableText()
{
    auto* example = new juce::DynamicObject();
    example->setProperty ("name", "Example Program");
    example->setProperty ("programPayloadSha256", "replace-with-64-character-sha256");
    example->setProperty ("tags", juce::Array<juce::var>{ "bass", "mono" });

    auto* root = new juce::DynamicObject();
    root->setProperty ("schema", "orvo.program-tag-associations.v1");
    root->setProperty ("version", 1);
    root->setProperty ("hashAlgorithm", "sha256");
    root->setProperty ("primaryHashTarget", "unpacked-program-payload");
    root->setProperty ("description", "User-editable table for automatically tagging known Orvo Program SysEx imports. "
                                      "Add records to programs, or replace this file with output from an external "
                                      "tag-table builder.");
    root->setProperty ("programs", juce::Array<juce::var>());
    root->setProperty ("exampleProgram", juce::var (example));

    return toJsonText (juce::var (root)); // JUCE's writer ends its lines with CR LF
}

void ensureDefaultTagTable (const juce::File& file)
{
    if (!file.exists())
        (void)writeFileAtomically (file, defaultTagTableText());
}

} // namespace orvo
