#include "LayoutLibrary.h"

namespace orvo
{

LayoutLibrary::LayoutLibrary (LayoutEditSession& s, std::function<juce::File()> layoutsFolder, Prompts& p,
                              FileDialogs& d, Log l)
    : session (s), folder (std::move (layoutsFolder)), prompts (p), dialogs (d), log (std::move (l))
{
}

juce::File LayoutLibrary::saveTarget() const
{
    if (current)
        return layoutFileForBackup (*current);
    return folder().getChildFile ("Default.layout.json");
}

void LayoutLibrary::loadAtStartup()
{
    std::vector<std::string> refused;
    const auto newest = newestLayoutFile (folder(), &refused);
    for (const auto& r : refused)
        log ("LAYOUT: passed over " + r + "\n");
    if (!newest)
        return;
    const auto loaded = loadLayoutFile (*newest);
    if (!loaded.document)
        return log (loaded.logLine);
    session.applyDocument (*loaded.document);
    current = *newest;
    log ("Layout loaded from " + newest->getFullPathName().toStdString() + "\n");
    if (const int unknown = session.unknownIdsInLastDocument(); unknown > 0)
        log ("LAYOUT: " + std::to_string (unknown) +
             " saved positions name items this editor does not have; they were kept but not shown.\n");
}

bool LayoutLibrary::save (const std::vector<std::string>& visibleIds, const juce::File& file, juce::Time now)
{
    const auto capture = session.capture (visibleIds);
    const auto outcome =
        saveLayoutFile ({ capture.document, capture.captured, capture.mirrored, capture.popups, {} }, file, now);
    log (outcome.logLine);
    prompts.showChoice (outcome.title, outcome.text, { "OK" }, nullptr);
    if (outcome.ok)
    {
        current = file;
        session.markSaved();
    }
    return outcome.ok;
}

void LayoutLibrary::saveAs (std::function<std::vector<std::string>()> visibleIds, juce::Time now)
{
    const auto proposal = folder().getChildFile (proposedLayoutSaveName (current, now));
    folder().createDirectory();
    dialogs.chooseFileToSave ("SAVE LAYOUT AS", proposal.getFullPathName().toStdString(), "*.layout.json",
                              [this, visibleIds, now] (std::optional<std::string> chosen)
                              {
                                  if (!chosen)
                                      return;
                                  const juce::File picked (juce::String::fromUTF8 (chosen->c_str()));
                                  save (visibleIds(), picked.getSiblingFile (layoutFileName (picked.getFileName())),
                                        now);
                              });
}

void LayoutLibrary::load (std::function<void()> onLoaded)
{
    folder().createDirectory();
    dialogs.chooseFileToOpen ("LOAD LAYOUT", folder().getFullPathName().toStdString(), "*.layout.json",
                              [this, onLoaded] (std::optional<std::string> chosen)
                              {
                                  if (chosen && loadFile (juce::File (juce::String::fromUTF8 (chosen->c_str()))) &&
                                      onLoaded)
                                      onLoaded();
                              });
}

bool LayoutLibrary::loadFile (const juce::File& file)
{
    const auto outcome = loadLayoutFile (file);
    log (outcome.logLine);
    prompts.showChoice (outcome.title, outcome.text, { "OK" }, nullptr);
    if (!outcome.document)
        return false;
    session.applyDocument (*outcome.document);
    current = file;
    if (const int unknown = session.unknownIdsInLastDocument(); unknown > 0)
        log ("LAYOUT: " + std::to_string (unknown) +
             " saved positions name items this editor does not have; they were kept but not shown.\n");
    return true;
}

bool LayoutLibrary::saveDigitalFx (int page, const std::string& algorithmName,
                                   const std::vector<std::string>& visibleIds, juce::Time now)
{
    if (page != 5)
    {
        const std::string text = "Open the Effects page before saving a Digital FX layout.";
        log ("LAYOUT SAVE FAILED: " + text + "\n");
        prompts.showChoice ("Digital FX Layout Save Failed", text, { "OK" }, nullptr);
        return false;
    }
    std::vector<std::string> fxIds;
    for (const auto& id : visibleIds)
        if (id.rfind ("editor.effects.", 0) == 0)
            fxIds.push_back (id);
    const auto capture = session.capture (fxIds);
    LayoutSaveRequest request;
    request.captured = capture.captured;
    request.digitalFxAlgorithm = algorithmName;
    for (const auto& t : capture.captured)
        request.document.targets.push_back (t);
    for (const auto& id : fxIds)
        if (const auto* s = session.style (id))
            request.document.styles.push_back (*s);
    const auto outcome = saveLayoutFile (request, digitalFxFile (algorithmName), now);
    log (outcome.logLine);
    prompts.showChoice (outcome.title, outcome.text, { "OK" }, nullptr);
    return outcome.ok;
}

bool LayoutLibrary::applyDigitalFx (const std::string& algorithmName)
{
    const auto file = digitalFxFile (algorithmName);
    if (!file.existsAsFile())
        return false;
    const auto loaded = loadLayoutFile (file);
    if (!loaded.document)
    {
        log (loaded.logLine);
        return false;
    }
    session.mergeDocument (*loaded.document);
    return true;
}

} // namespace orvo
