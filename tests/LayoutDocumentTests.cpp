#include "LibraryTestSupport.h"
#include "layout/LayoutEditSession.h"
#include "layout/LayoutFiles.h"
#include "layout/LayoutLibrary.h"
#include "model/ParameterRangeRules.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
std::string doc (const std::string& members)
{
    return R"({"format":"OrvoLayoutOverrides",)" + members + "}";
}
const std::string oneTarget = R"("targets":[{"id":"param.osc1.semitone","x":10,"y":20,"width":30,"height":40}])";

LayoutEditSession::Item item (const std::string& id, int x, int y)
{
    return { id, "Slider/Knob", { x, y, 100, 26 }, true };
}

std::string read (const juce::File& f)
{
    return f.loadFileAsString().toStdString();
}
} // namespace

TEST (LayoutDocumentReading, AcceptsRefusesAndClampsAsTheDocumentSays)
{
    struct Case
    {
        std::string text;
        bool accepted;
        int version, page0, groups, styles;
    };
    const std::string digitalStyles = R"("styles":[{"id":"editor.effects.digital.row.3.label","text":"X"},
        {"id":"editor.effects.digital.row.3.slot.2.name","bold":true},{"id":"param.osc1.semitone","fontSize":12.5}])";
    const Case cases[]{
        { doc (R"("version":9,)" + oneTarget), false, 0, 0, 0, 0 },
        { doc (R"("version":0,)" + oneTarget), false, 0, 0, 0, 0 },
        { doc (R"("version":"8",)" + oneTarget), false, 0, 0, 0, 0 },
        { doc (oneTarget), true, 1, -1, 0, 0 },
        { R"({"format":"Other",)" + oneTarget + "}", false, 0, 0, 0, 0 },
        { doc (R"("version":8})").substr (0, 40), false, 0, 0, 0, 0 }, // broken JSON
        { doc (R"("version":8)"), false, 0, 0, 0, 0 },                 // no targets
        { doc (R"("version":8,"pageHeights":[{"id":"page0","height":50}],)" + oneTarget), true, 8, 100, 0, 0 },
        { doc (R"("version":8,"pageHeights":[{"id":"page0","height":30000}],)" + oneTarget), true, 8, 20000, 0, 0 },
        { doc (R"("version":8,"pageHeights":[{"id":"page0","height":644}],)" + oneTarget), true, 8, 644, 0, 0 },
        { doc (
              R"("version":8,"groups":[{"id":"manual.1","name":"A","members":["a"]},{"id":"manual.2","members":["a","b"]},
              {"id":"manual.3","name":"C","locked":true,"members":["a","b"]}],)" +
              oneTarget),
          true, 8, -1, 1, 0 },
        { doc (R"("version":6,)" + digitalStyles + "," + oneTarget), true, 6, -1, 0, 1 },
        { doc (R"("version":8,)" + digitalStyles + "," + oneTarget), true, 8, -1, 0, 3 },
    };
    for (const auto& c : cases)
    {
        const auto r = readLayoutText (c.text);
        ASSERT_EQ (r.document.has_value(), c.accepted) << c.text;
        if (!c.accepted)
        {
            EXPECT_FALSE (r.error.empty());
            continue;
        }
        EXPECT_EQ (r.document->version, c.version) << c.text;
        EXPECT_EQ (r.document->pageHeight ("page0").value_or (-1), c.page0) << c.text;
        EXPECT_EQ ((int)r.document->groups.size(), c.groups) << c.text;
        EXPECT_EQ ((int)r.document->styles.size(), c.styles) << c.text;
    }
}

TEST (LayoutDocumentReading, ClampsNegativeAndHugeRectanglesAndCutsTenThousandItems)
{
    const auto r =
        readLayoutText (doc (R"("targets":[{"id":"a","x":-5,"y":3,"width":-20,"height":99999},{"id":"b","x":1}])"));
    ASSERT_TRUE (r.document);
    ASSERT_EQ (r.document->targets.size(), 1u);
    EXPECT_EQ (r.document->targets[0].rect, (LayoutRect{ 0, 3, 0, 20000 }));
    ASSERT_EQ (r.notes.size(), 2u);
    EXPECT_EQ (r.notes[0], "1 target without an id and a whole rectangle was ignored.");
    EXPECT_EQ (r.notes[1], "1 target rectangle was clamped to the design surface.");

    std::string many;
    for (int i = 0; i < 10000; ++i)
        many +=
            std::string (i ? "," : "") + R"({"id":"x)" + std::to_string (i) + R"(","x":1,"y":2,"width":3,"height":4})";
    const auto big = readLayoutText (doc (R"("version":8,"targets":[)" + many + "]"));
    ASSERT_TRUE (big.document);
    EXPECT_EQ ((int)big.document->targets.size(), LayoutDocument::maxTargets);
    EXPECT_EQ (big.notes.back(), "4000 targets beyond the first 6000 were ignored.");
}

TEST (LayoutDocumentWriting, WritesVersionEightInItsKeyOrderAndReadsBackTheSame)
{
    LayoutDocument d;
    d.version = 6;
    d.targets = { { "param.a", { 1, 2, 3, 4 }, "Label" }, { "bottom.patchName", { 5, 6, 7, 8 }, "" } };
    d.layerOrder = { "bottom.patchName" };
    LayoutStyle s;
    s.id = "param.a";
    s.fontSize = 11.5;
    s.buttonStyle = "blackRectangle";
    s.ledColor = "orange";
    s.bold = false;
    d.styles = { s };
    d.pageHeights = { { "page0", 700 } };
    d.groups = { { "manual.1", "Custom Group 1", true, { "param.a", "bottom.patchName" } } };
    const auto text = layoutDocumentText (d);
    size_t at = 0;
    for (const char* key :
         { "\"format\": \"OrvoLayoutOverrides\"", "\"version\": 8", "\"minimumEditorLayoutSchema\": 8", "\"targets\"",
           "\"layerOrder\"", "\"styles\"", "\"pageHeights\"", "\"groups\"" })
    {
        const auto found = text.find (key);
        ASSERT_NE (found, std::string::npos) << key;
        EXPECT_GT (found, at) << key;
        at = found;
    }
    const auto back = readLayoutText (text);
    ASSERT_TRUE (back.document);
    EXPECT_EQ (back.document->version, 8);
    EXPECT_EQ (back.document->targets[1].rect, (LayoutRect{ 5, 6, 7, 8 }));
    EXPECT_EQ (back.document->targets[0].type, "Label");
    EXPECT_TRUE (back.document->styles.at (0) == s);
    EXPECT_EQ (layoutDocumentText (*back.document), text);
}

TEST (LayoutFileNames, AlwaysEndInLayoutJsonAndSaveAsProposesATimestampedName)
{
    const std::pair<const char*, const char*> cases[]{
        { "Mine.json", "Mine.layout.json" },    { "Mine.layout", "Mine.layout.json" },
        { "Mine", "Mine.layout.json" },         { "Mine.layout.json", "Mine.layout.json" },
        { "My.Stage", "My.Stage.layout.json" },
    };
    for (const auto& [name, file] : cases)
        EXPECT_EQ (layoutFileName (name), file) << name;
    const juce::Time at (2026, 2, 7, 9, 5, 3, 0, true);
    EXPECT_EQ (proposedLayoutSaveName (std::nullopt, at), "Layout 20260307-090503.layout.json");
    EXPECT_EQ (proposedLayoutSaveName (juce::File ("/x/Stage.layout.json"), at), "Stage 20260307-090503.layout.json");
    EXPECT_EQ (
        layoutFileForBackup (juce::File ("/x/Backups/Stage.backup-20260307-090503-2.layout.json")).getFullPathName(),
        "/x/Stage.layout.json");
}

TEST (LayoutSaving, AFailedBackupOrVerificationLeavesTheOldFileUntouched)
{
    TemporaryFolder folder;
    const auto target = folder / "Mine.layout.json";
    target.replaceWithText ("old layout");
    LayoutSaveRequest request;
    request.captured = { { "param.a", { 1, 2, 3, 4 }, "" } };
    request.document.targets = request.captured;
    const juce::Time at (2026, 0, 1, 10, 0, 0, 0, true);

    (folder / "Backups").replaceWithText ("a file where the folder should be");
    auto r = saveLayoutFile (request, target, at);
    EXPECT_FALSE (r.ok);
    EXPECT_EQ (r.text, "Could not create a backup, so the layout was not written.");
    EXPECT_EQ (r.logLine, "LAYOUT SAVE FAILED: Could not create a backup, so the layout was not written.\n");
    EXPECT_EQ (read (target), "old layout");
    (folder / "Backups").deleteFile();

    const std::pair<std::function<void (const juce::File&)>, std::string> damage[]{
        { [] (const juce::File& f) { f.replaceWithText ("{"); }, "The saved layout file could not be parsed." },
        { [] (const juce::File& f) { f.deleteFile(); }, "The layout file was not created." },
        { [] (const juce::File& f) { f.replaceWithText (f.loadFileAsString().replace ("\"x\": 1", "\"x\": 9")); },
          "Saved bounds did not match for param.a" },
        { [] (const juce::File& f) { f.replaceWithText (f.loadFileAsString().replace ("param.a", "param.b")); },
          "Missing saved layout target: param.a" },
    };
    for (const auto& [hook, reason] : damage)
    {
        r = saveLayoutFile (request, target, at, { hook });
        EXPECT_FALSE (r.ok);
        EXPECT_EQ (r.title, "Layout Save Failed");
        EXPECT_EQ (r.text, "The layout file could not be written. The previous layout was restored from backup.");
        EXPECT_EQ (r.logLine, "LAYOUT SAVE FAILED: " + reason + "\n");
        EXPECT_EQ (read (target), "old layout");
    }
    r = saveLayoutFile (request, target, at);
    ASSERT_TRUE (r.ok);
    EXPECT_EQ (r.text, "Verified 1 visible layout items in " + target.getFullPathName().toStdString() +
                           " Backup: " + r.backup->getFullPathName().toStdString());
    EXPECT_EQ (r.backup->getFileName(),
               "Mine.backup-20260101-100000-5.layout.json"); // four failed tries took the earlier names
    EXPECT_EQ (read (*r.backup), "old layout");
    EXPECT_EQ (readLayoutText (read (target)).document->targets.size(), 1u);
    EXPECT_EQ (folder.get().getNumberOfChildFiles (juce::File::findFiles), 1); // no pending file left
}

TEST (LayoutLoading, ChecksTheFileAndTheNewestValidLayoutSkipsBackupsAndBrokenFiles)
{
    TemporaryFolder folder;
    const auto missing = folder / "None.layout.json";
    EXPECT_EQ (loadLayoutFile (missing).text,
               "The selected layout file does not exist: " + missing.getFullPathName().toStdString());
    const auto broken = folder / "Broken.layout.json";
    broken.replaceWithText ("{\"format\":");
    EXPECT_EQ (loadLayoutFile (broken).logLine, "LAYOUT LOAD FAILED: The selected layout file could not be read: " +
                                                    broken.getFullPathName().toStdString() + "\n");
    const auto other = folder / "Other.layout.json";
    other.replaceWithText ("{\"format\":\"x\",\"targets\":[]}");
    EXPECT_EQ (loadLayoutFile (other).text,
               "The selected file is not an Orvo layout file: " + other.getFullPathName().toStdString());

    const auto good = folder / "Good.layout.json";
    good.replaceWithText (doc (R"("version":8,"pageHeights":[{"id":"page0","height":500}],)" + oneTarget));
    const auto backup = folder.get().getChildFile ("Backups/Good.backup-20260101-100000.layout.json");
    backup.create();
    backup.replaceWithText (read (good));
    const auto now = juce::Time::getCurrentTime();
    good.setLastModificationTime (now - juce::RelativeTime::seconds (60));
    broken.setLastModificationTime (now); // newer but refused
    backup.setLastModificationTime (now);
    std::vector<std::string> refused;
    EXPECT_EQ (newestLayoutFile (folder.get(), &refused), good);
    EXPECT_EQ (refused.size(), 2u); // Broken and Other

    const auto loaded = loadLayoutFile (backup);
    ASSERT_TRUE (loaded.ok);
    EXPECT_EQ (loaded.text, "Loaded layout file: " + backup.getFullPathName().toStdString() +
                                ". Read 1 saved positions, 0 style overrides, and 1 page height overrides. Loaded "
                                "backup for testing; SAVE writes to " +
                                good.getFullPathName().toStdString());
}

TEST (LayoutEditing, MovesSnapsGroupsUndoesAndLogsEachEdit)
{
    std::string log;
    LayoutEditSession s ([&log] (const std::string& line) { log += line; });
    s.setItems ({ item ("param.osc1.a", 10, 100), item ("param.osc1.b", 10, 126), item ("param.osc2.a", 300, 100),
                  item ("bottom.patchName", 400, 980) });
    s.setEnabled (true);
    s.select ("param.osc1.a", false);
    s.moveSelection (5, 0);
    EXPECT_EQ (s.rect ("param.osc1.a"), (LayoutRect{ 16, 100, 100, 26 })); // 15 snaps to the 2-pixel grid
    s.createManualGroup();
    s.createAssociationGroup ("param.osc1.b");
    s.createAssociationGroup ("bottom.patchName");
    ASSERT_EQ (s.groups().size(), 1u);
    EXPECT_EQ (s.groups()[0].id, "association.param.osc1");
    s.setGroupLocked ("association.param.osc1", true);
    s.select ("param.osc1.b", false);
    s.moveSelection (0, -20);
    EXPECT_EQ (s.rect ("param.osc1.a").y, 80); // locked: the group moves as one unit
    EXPECT_EQ (s.rect ("param.osc1.b").y, 106);
    s.select ("param.osc2.a", true);
    s.select ("bottom.patchName", true);
    s.createManualGroup();
    EXPECT_EQ (s.groups().back().name, "Custom Group 1");
    s.resizeSelection (-200, 3);
    EXPECT_EQ (s.rect ("param.osc2.a"), (LayoutRect{ 300, 100, 2, 30 }));
    s.bringToFront ("param.osc2.a");
    s.sendToBack ("bottom.patchName");
    EXPECT_EQ (s.layerOrder(), (std::vector<std::string>{ "bottom.patchName", "param.osc2.a" }));
    s.fitPageHeight ("page0", 84, { "param.osc1.a", "param.osc2.a" });
    EXPECT_EQ (s.pageHeight ("page0"), 100); // 46 pixels of items, the smallest page
    s.undo();
    s.resetItem ("param.osc2.a");
    EXPECT_EQ (s.rect ("param.osc2.a"), (LayoutRect{ 300, 100, 100, 26 }));
    s.resetAll();
    EXPECT_TRUE (s.groups().empty());
    for (int i = 0; i < 11; ++i)
        s.undo();
    s.setEnabled (false);
    const std::string keep = ". Press SAVE to keep this layout.\n";
    EXPECT_EQ (
        log, "Layout mode enabled.\nNo manual layout group could be created from the current selection.\n"
             "Layout group created. Press LOCK to move it as one unit, and SAVE to keep it.\n"
             "No associated layout group could be created for this item.\nLayout group locked" +
                 keep +
                 "Manual layout group created. Press LOCK to move it as one unit, and SAVE to keep it.\n"
                 "Layout target brought to front" +
                 keep + "Layout target sent to back" + keep + "Layout page height fit to visible items" + keep +
                 "Layout edit undone" + keep + "Layout override reset" + keep + "All layout overrides reset" + keep +
                 std::string() +
                 [&]
                 {
                     std::string u;
                     for (int i = 0; i < 10; ++i)
                         u += "Layout edit undone" + keep;
                     return u;
                 }() +
                 "No layout edit is available to undo.\nLayout mode disabled.\n");
}

TEST (LayoutEditing, ThreeMovedItemsComeBackAfterSavingRestartingAndLoading)
{
    TemporaryFolder folder;
    const std::vector<LayoutEditSession::Item> items{
        item ("param.osc1.a", 10, 100),
        item ("param.osc1.b", 10, 126),
        item ("page.tab.0", 8, 48),
        item ("sidebar.top.monitor.copy", 990, 90),
        item ("sidebar.bottom.monitor.copy", 990, 600),
    };
    LayoutDocument defaults;
    defaults.targets = { { "param.osc1.b", { 12, 130, 100, 26 }, "Slider/Knob" } };
    const auto file = folder / "Mine.layout.json";
    {
        LayoutEditSession s;
        s.setItems (items);
        s.setDefaultDocument (defaults);
        for (const auto& [id, dx, dy] : { std::tuple{ "param.osc1.a", 40, 0 },
                                          { "param.osc1.b", 0, 60 },
                                          { "sidebar.top.monitor.copy", -20, 10 } })
        {
            s.select (id, false);
            s.moveSelection (dx, dy);
        }
        const auto c = s.capture ({ "param.osc1.a", "param.osc1.b", "page.tab.0", "sidebar.top.monitor.copy" });
        EXPECT_EQ (c.mirrored, 1);
        LayoutSaveRequest request{ c.document, c.captured, c.mirrored, c.popups, {} };
        const auto saved = saveLayoutFile (request, file, juce::Time::getCurrentTime());
        ASSERT_TRUE (saved.ok) << saved.logLine;
        EXPECT_NE (saved.text.find ("Mirrored 1 sidebar items to the other sidebar pane."), std::string::npos);
    }
    LayoutEditSession restarted;
    restarted.setItems (items);
    restarted.setDefaultDocument (defaults);
    EXPECT_EQ (restarted.rect ("param.osc1.b"), (LayoutRect{ 12, 130, 100, 26 }));
    const auto loaded = loadLayoutFile (*newestLayoutFile (folder.get()));
    ASSERT_TRUE (loaded.document);
    restarted.applyDocument (*loaded.document);
    EXPECT_EQ (restarted.rect ("param.osc1.a"), (LayoutRect{ 50, 100, 100, 26 }));
    EXPECT_EQ (restarted.rect ("param.osc1.b"), (LayoutRect{ 12, 190, 100, 26 }));
    EXPECT_EQ (restarted.rect ("sidebar.bottom.monitor.copy"), (LayoutRect{ 970, 100, 100, 26 }));
    EXPECT_EQ (restarted.rect ("page.tab.0"), (LayoutRect{ 8, 48, 100, 26 }));
    EXPECT_EQ (restarted.unknownIdsInLastDocument(), 0);

    auto withStranger = *loaded.document;
    withStranger.targets.push_back ({ "param.noSuchThing", { 1, 1, 1, 1 }, "" });
    restarted.applyDocument (withStranger);
    EXPECT_EQ (restarted.unknownIdsInLastDocument(), 1);
    EXPECT_EQ (restarted.rect ("param.osc1.a"), (LayoutRect{ 50, 100, 100, 26 }));
}

TEST (LayoutLibrary, SaveAsNamesTheFileAndARefusedLoadKeepsTheLayoutInForce)
{
    TemporaryFolder folder;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    std::string log;
    LayoutEditSession session;
    session.setItems ({ item ("param.osc1.a", 10, 100) });
    LayoutLibrary library (
        session, [&folder] { return folder.get(); }, prompts, dialogs, [&log] (const std::string& l) { log += l; });
    EXPECT_EQ (library.saveTarget(), folder / "Default.layout.json");

    session.select ("param.osc1.a", false);
    session.moveSelection (20, 0);
    dialogs.answers.push_back ((folder / "Stage.json").getFullPathName().toStdString());
    library.saveAs ([] { return std::vector<std::string>{ "param.osc1.a" }; },
                    juce::Time (2026, 0, 1, 10, 0, 0, 0, true));
    EXPECT_EQ (dialogs.titles.back(), "SAVE LAYOUT AS");
    ASSERT_TRUE ((folder / "Stage.layout.json").existsAsFile());
    EXPECT_EQ (prompts.shown.back().title, "Layout Saved");
    EXPECT_EQ (library.saveTarget(), folder / "Stage.layout.json");

    const auto broken = folder / "Broken.layout.json";
    broken.replaceWithText ("[1,2");
    EXPECT_FALSE (library.loadFile (broken));
    EXPECT_EQ (prompts.shown.back().title, "Layout Load Failed");
    EXPECT_EQ (session.rect ("param.osc1.a").x, 30);
    EXPECT_EQ (library.saveTarget(), folder / "Stage.layout.json");
    EXPECT_NE (log.find ("LAYOUT LOAD FAILED: The selected layout file could not be read: "), std::string::npos);
}

TEST (LayoutLibrary, AMovedPopupItemIsSavedOpenOrClosedCountedAndPlacedAgainAfterARestart)
{
    const auto& ids = ParameterRangeRules::popupItemIds();
    EXPECT_EQ (ids, (std::vector<std::string>{
                        "popup.range.normalRange", "popup.range.minimumLabel", "popup.range.customMinimum",
                        "popup.range.useCurrentMinimum", "popup.range.maximumLabel", "popup.range.customMaximum",
                        "popup.range.useCurrentMaximum", "popup.range.curveLabel", "popup.range.curve",
                        "popup.range.useDefaultCurve", "popup.range.message", "popup.range.apply", "popup.range.clear" }));
    TemporaryFolder folder;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    std::vector<LayoutEditSession::Item> popupOpen{ item ("param.osc1.a", 10, 100), item ("popup.range", 300, 300) };
    std::vector<std::string> shownWithPopup{ "param.osc1.a", "popup.range" };
    for (const auto& id : ids)
    {
        popupOpen.push_back (item (id, 10, 10));
        shownWithPopup.push_back (id);
    }
    const auto folderFn = [&folder] { return folder.get(); };
    const auto quiet = [] (const std::string&) {};
    {
        LayoutEditSession session;
        LayoutLibrary library (session, folderFn, prompts, dialogs, quiet);
        session.setItems (popupOpen);
        session.select ("popup.range.apply", false);
        session.moveSelection (-6, 40);
        // Saved with the popup open, then again after it closed: one edited item each time.
        for (const bool open : { true, false })
        {
            session.setItems (open ? popupOpen : std::vector<LayoutEditSession::Item>{ popupOpen.front() });
            ASSERT_TRUE (library.save (open ? shownWithPopup : std::vector<std::string>{ "param.osc1.a" },
                                       library.saveTarget(), juce::Time::getCurrentTime()));
            EXPECT_NE (prompts.shown.back().message.find (" Included 1 edited popup items."), std::string::npos)
                << prompts.shown.back().message;
        }
        const auto written = loadLayoutFile (library.saveTarget());
        ASSERT_TRUE (written.document);
        EXPECT_FALSE (written.document->target ("popup.range.clear")); // the popup places the rest itself
    }
    LayoutEditSession restarted;
    LayoutLibrary again (restarted, folderFn, prompts, dialogs, quiet);
    again.loadAtStartup();
    EXPECT_EQ (restarted.userRect ("popup.range.apply"), (LayoutRect{ 4, 50, 100, 26 }));
    EXPECT_FALSE (restarted.userRect ("popup.range.clear"));
}

TEST (LayoutLibrary, DigitalFxLayoutsAreKeptPerAlgorithmAndOnlyFromTheEffectsPage)
{
    TemporaryFolder folder;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    LayoutEditSession session;
    session.setItems ({ item ("editor.effects.page1.slot0", 6, 30), item ("param.osc1.a", 10, 100) });
    LayoutLibrary library (
        session, [&folder] { return folder.get(); }, prompts, dialogs, [] (const std::string&) {});
    const std::vector<std::string> visible{ "editor.effects.page1.slot0", "param.osc1.a" };
    const auto now = juce::Time::getCurrentTime();

    EXPECT_FALSE (library.saveDigitalFx (2, "Large Hall", visible, now));
    EXPECT_EQ (prompts.shown.back().message, "Open the Effects page before saving a Digital FX layout.");
    EXPECT_FALSE (library.saveDigitalFx (5, "Large Hall", { "param.osc1.a" }, now));
    EXPECT_EQ (prompts.shown.back().message, "No visible Digital FX controls were captured for Large Hall");

    session.select ("editor.effects.page1.slot0", false);
    session.moveSelection (0, 40);
    ASSERT_TRUE (library.saveDigitalFx (5, "Large Hall", visible, now));
    EXPECT_EQ (prompts.shown.back().message,
               "Digital FX layout saved for Large Hall. Verified 1 visible Digital FX items.");
    const auto file = folder.get().getChildFile ("Digital FX/Large-Hall.layout.json");
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_EQ (readLayoutText (read (file)).document->targets.size(), 1u); // the page's own items stay out

    session.resetAll();
    EXPECT_FALSE (library.applyDigitalFx ("Plate"));
    EXPECT_TRUE (library.applyDigitalFx ("Large Hall"));
    EXPECT_EQ (session.rect ("editor.effects.page1.slot0"), (LayoutRect{ 6, 70, 100, 26 }));
}
