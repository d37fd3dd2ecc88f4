#include "MainWindow.h"

namespace orvo
{
namespace
{
juce::PopupMenu radioMenu (std::initializer_list<std::pair<int, const char*>> items, int tickedId, bool enabled)
{
    juce::PopupMenu m;
    for (const auto& [id, text] : items)
        m.addItem (id, text, enabled, id == tickedId);
    return m;
}
} // namespace

MainWindow::MainWindow (const juce::String& name, MainComponent::Options options)
    : DocumentWindow (name, juce::Colour (0xff555555), DocumentWindow::allButtons, true)
{
    setUsingNativeTitleBar (true);
    setMenuBar (this);
    // The menu titles carry their fixed ids, as every other item of the editor does.
    if (auto* bar = getMenuBarComponent())
        for (int i = 0; i < bar->getNumChildComponents(); ++i)
            bar->getChildComponent (i)->setComponentID ("top.menu." + juce::String (i));
    commands.registerAllCommandsForTarget (this);
    // The application's own quit command (Ctrl+Q) is reached through this window.
    commands.registerAllCommandsForTarget (juce::JUCEApplication::getInstance());
    auto content = std::make_unique<OrvoEditorScaledHost> (options);
    host = content.get();
    setContentOwned (content.release(), true);
    commands.setFirstCommandTarget (this);
    addKeyListener (commands.getKeyMappings());
    setResizeLimits (750, 600, 2560, 2048);
    getConstrainer()->setFixedAspectRatio ((double) MainComponent::designWidth / MainComponent::designHeight);
    setResizable (true, true);
    // The size the player left the window at, as far as this screen can show it.
    const auto& settings = host->getEditor().getEngine().settings();
    auto size =
        settings.windowWidth > 0 ? juce::Rectangle<int> (settings.windowWidth, settings.windowHeight) : getBounds();
    if (const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        size = size.constrainedWithin (display->userArea.withZeroOrigin());
    centreWithSize (size.getWidth(), size.getHeight());
    setVisible (true);
}

MainWindow::~MainWindow()
{
    if (host != nullptr && ! isFullScreen() && ! isMinimised())
        host->getEditor().rememberWindowSize (getWidth(), getHeight());
    setMenuBar (nullptr);
    host = nullptr;
    clearContentComponent();
}

void MainWindow::closeButtonPressed() { juce::JUCEApplication::getInstance()->systemRequestedQuit(); }

juce::StringArray MainWindow::getMenuBarNames() { return { "File", "Edit", "MIDI", "Sync", "Settings" }; }

juce::PopupMenu MainWindow::getMenuForIndex (int index, const juce::String&)
{
    juce::PopupMenu m;
    auto* ed = editor();
    // Items whose feature is not in this version are shown, but cannot be chosen.
    if (index == 0)
    {
        // Ctrl+S / Ctrl+O act on the selected slot: the Program items in a Program bank, the Mix ones in a Mix bank.
        const bool mixBank = ed != nullptr && ed->getEngine().selectedBank() >= 3;
        const auto item = [&] (int id, const char* text, bool shortcutHere, char key) {
            juce::PopupMenu::Item i (text);
            i.setID (id).setEnabled (ed != nullptr);
            if (shortcutHere)
                i.shortcutKeyDescription = juce::KeyPress (key, juce::ModifierKeys::commandModifier, 0).getTextDescriptionWithIcons();
            m.addItem (i);
        };
        item (1000, "SAVE PROGRAM", ! mixBank, 's');
        item (1001, "LOAD PROGRAM", ! mixBank, 'o');
        item (1002, "SAVE MIX", mixBank, 's');
        item (1003, "LOAD MIX", mixBank, 'o');
        m.addSeparator();
        m.addItem (1004, "SAVE BANK", ed != nullptr);
        m.addItem (1005, "LOAD BANK", ed != nullptr);
        m.addSeparator();
        m.addCommandItem (&commands, toggleLibraryCommand, "LIBRARY AND TAGS");
        m.addSeparator();
        m.addItem (1006, "SAVE ENVIRONMENT", false);
        m.addItem (1007, "LOAD ENVIRONMENT", false);
        m.addSeparator();
        m.addItem (1008, "IMPORT SYSEX", ed != nullptr);
        m.addItem (1009, "EXPORT SYSEX", ed != nullptr);
        m.addItem (1010, "SET STORAGE", ed != nullptr);
        m.addSeparator();
        m.addCommandItem (&commands, juce::StandardApplicationCommandIDs::quit, "QUIT");
    }
    else if (index == 1)
    {
        juce::PopupMenu::Item copy ("COPY PARAMETER VALUE");
        copy.setID (2001).setEnabled (ed != nullptr && ed->getEngine().canCopySelected());
        copy.shortcutKeyDescription = juce::KeyPress ('c', juce::ModifierKeys::commandModifier, 0).getTextDescriptionWithIcons();
        m.addItem (copy);
        juce::PopupMenu::Item paste ("PASTE PARAMETER VALUE");
        paste.setID (2002).setEnabled (ed != nullptr && ed->getEngine().canPasteSelected());
        paste.shortcutKeyDescription = juce::KeyPress ('v', juce::ModifierKeys::commandModifier, 0).getTextDescriptionWithIcons();
        m.addItem (paste);
        m.addSeparator();
        // UNDO and REDO name the step they act on.
        auto* history = ed != nullptr ? &ed->getSession().history() : nullptr;
        const auto stepItem = [&] (int id, const char* verb, bool can, const std::string& name, int mods) {
            juce::PopupMenu::Item i (juce::String (verb) + (can ? " " + juce::String::fromUTF8 (name.c_str()) : juce::String()));
            i.setID (id).setEnabled (can);
            i.shortcutKeyDescription = juce::KeyPress ('z', mods, 0).getTextDescriptionWithIcons();
            m.addItem (i);
        };
        if (history != nullptr)
            history->record();
        stepItem (undoItem, "UNDO", history != nullptr && history->canUndo(), history != nullptr ? history->undoName() : std::string(),
                  juce::ModifierKeys::commandModifier);
        stepItem (redoItem, "REDO", history != nullptr && history->canRedo(), history != nullptr ? history->redoName() : std::string(),
                  juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier);
        m.addSeparator();
        const bool comparing = ed != nullptr && ed->getSession().compare().isActive();
        m.addItem (compareOrvoItem, "COMPARE WITH THE ORVO'S STORED PROGRAM", ed != nullptr && ! ed->getSession().compare().isReading());
        m.addItem (compareLibraryItem, "COMPARE WITH A LIBRARY PROGRAM...", ed != nullptr);
        m.addItem (compareToggleItem, "COMPARE A / B", comparing, comparing && ed->getSession().compare().isShowingB());
        m.addItem (leaveCompareItem, "LEAVE COMPARE", comparing);
        m.addSeparator();
        // The items name the tool they act on, and wait for one that has settings to carry.
        const int page = ed != nullptr ? ed->getTools().clipboardPage() : -1;
        const juce::String word = page < 0 ? juce::String ("SIDEBAR") : juce::String (SidebarSettings::label ((SidebarSettings::Page) page));
        m.addItem (2003, "COPY " + word + " SETTINGS", page >= 0);
        m.addItem (2004, "PASTE " + word + " SETTINGS", page >= 0 && ed->getTools().canPasteSidebarSettings());
        m.addSeparator();
        m.addCommandItem (&commands, toggleLayoutModeCommand);
    }
    else if (index == 2)
    {
        juce::PopupMenu in, out;
        const auto addDevices = [] (juce::PopupMenu& menu, const std::vector<MidiDeviceInfo>& list, int base, int selected,
                                    const char* none) {
            for (size_t i = 0; i < list.size() && i < 32; ++i)
                menu.addItem (base + (int) i, list[i].name.empty() ? juce::String ("Unnamed MIDI Device") : juce::String (list[i].name),
                              true, selected == (int) i + 1);
            if (list.empty())
                menu.addItem (base, none, false);
        };
        addDevices (in, ed != nullptr ? ed->getMidi().inputDevices() : std::vector<MidiDeviceInfo>(), 3100,
                    ed != nullptr ? ed->getMidi().selectedInput() : 0, "No MIDI inputs found");
        addDevices (out, ed != nullptr ? ed->getMidi().outputDevices() : std::vector<MidiDeviceInfo>(), 3200,
                    ed != nullptr ? ed->getMidi().selectedOutput() : 0, "No MIDI outputs found");
        m.addSubMenu ("MIDI IN", in);
        m.addSubMenu ("MIDI OUT", out);
        m.addSeparator();
        m.addItem (3001, "SCAN MIDI DEVICES", ed != nullptr);
        m.addSeparator();
        m.addItem (3002, "OPEN MIDI INPUT", ed != nullptr && ed->getMidi().selectedInput() > 0);
        m.addItem (3003, "OPEN MIDI OUTPUT", ed != nullptr && ed->getMidi().selectedOutput() > 0);
        m.addSeparator();
        m.addItem (3004, "FOLLOW INCOMING MIDI", ed != nullptr, ed != nullptr && ed->getEngine().settings().followIncomingMidi);
        m.addItem (3005, "SEND CHANGES IMMEDIATELY", ed != nullptr,
                   ed != nullptr && ed->getEngine().settings().sendChangesImmediately);
        m.addItem (3007, "VERIFY TRANSFERS", ed != nullptr, ed != nullptr && ed->getEngine().settings().verifyTransfers);
        m.addSeparator();
        m.addItem (3006, "TRANSFER CURRENT MIDI TO ORVO", ed != nullptr);
        if (ed != nullptr && ed->getEngine().settings().diagnosticMode)
        {
            m.addSeparator();
            m.addItem (turnVirtualKnobItem, "VIRTUAL ORVO: TURN A KNOB", ed->getMidi().isInputOpen()
                                                                            && ed->getMidi().openInputName() == VirtualOrvo::deviceName);
        }
    }
    else if (index == 3)
    {
        m.addItem (4001, "Program Sync", ed != nullptr);
        m.addItem (4002, "Bank Sync", ed != nullptr);
        m.addItem (4003, "System Sync", ed != nullptr);
    }
    else if (index == 4)
    {
        EditorSettings defaults;
        const auto& s = ed != nullptr ? ed->getEngine().settings() : defaults;
        const bool stored = ed != nullptr;
        m.addSubMenu ("SQR Width Fix", radioMenu ({ { 5001, "50% (Normal)" }, { 5002, "52% (Fixed)" } }, s.squareWidthFix52 ? 5002 : 5001, stored));
        m.addSubMenu ("Envelope Time Responsiveness",
                      radioMenu ({ { 5101, "Linear" }, { 5102, "Logarithmic" }, { 5103, "Logarithmic+" } }, 5100 + s.envelopeTimeResponsiveness, stored));
        m.addSubMenu ("Default Page", radioMenu ({ { 5206, "Performance" }, { 5201, "LFOs" }, { 5202, "Oscillators" }, { 5203, "Filters" },
                                                   { 5204, "Envelopes" }, { 5205, "Effects" } },
                                                 5200 + s.defaultPage, stored));
        for (int pane = 0; pane < 2; ++pane)
        {
            juce::PopupMenu sub;
            const int base = pane == 0 ? 5300 : 5400;
            const int current = SidebarModel::validDefault (pane, pane == 0 ? s.defaultSidebarTop : s.defaultSidebarBottom, s.diagnosticMode);
            for (int tool : { 1, 2, 7, 3, 4, 5, 6, 8, 9, 10 })
                sub.addItem (base + tool, SidebarModel::toolName (tool), stored && (tool < 8 || s.diagnosticMode), tool == current);
            m.addSubMenu (pane == 0 ? "Default Sidebar Top" : "Default Sidebar Bottom", sub);
        }
        m.addSeparator();
        m.addSubMenu ("Layout Color", radioMenu ({ { 5501, "CLASSIC BLUE" }, { 5502, "LIMITED RED" }, { 5503, "HECK BLACK" } }, 5500 + s.layoutColor, stored));
        m.addSubMenu ("LCD Color", radioMenu ({ { 5601, "YELLOW" }, { 5602, "BLUE" }, { 5603, "BLACK" } }, 5600 + s.lcdColor, stored));
        m.addSubMenu ("LCD Screen Type", radioMenu ({ { 5701, "FLAT" }, { 5702, "REALISTIC" } }, 5700 + s.lcdScreenType, stored));
        m.addSubMenu ("Value Box Color", radioMenu ({ { 5901, "YELLOW" }, { 5902, "BLUE" }, { 5903, "BLACK" } }, 5900 + s.valueBoxColor, stored));
        m.addSubMenu ("Dropdown Menu Color", radioMenu ({ { 5801, "YELLOW" }, { 5802, "BLUE" }, { 5803, "BLACK" } }, 5800 + s.dropdownMenuColor, stored));
        m.addSubMenu ("Font", radioMenu ({ { 6001, "ORVO (ORIGINAL)" }, { 6002, "ORVO (NORMALIZED)" }, { 6003, "COMPUTER FONT" } }, 6000 + s.programFont, stored));
        m.addSubMenu ("Default LED Color", radioMenu ({ { 6101, "GREEN" }, { 6102, "ORANGE" }, { 6103, "RED" }, { 6104, "WHITE" } }, 6100 + s.defaultLedColor, stored));
        m.addSeparator();
        m.addItem (6200, "Diagnostic Mode", ed != nullptr, s.diagnosticMode);
        m.addItem (6201, "Unsaved Warnings", stored, s.unsavedWarnings);
        m.addItem (6203, "Auto Save Tools", stored, s.autoSaveTools);
        m.addItem (6202, "Reset Warnings", stored, false);
        m.addSeparator();
        m.addItem (4004, "CREATE TAG HASH FILE", ed != nullptr && ed->getMidi().isOutputOpen());
    }
    return m;
}

void MainWindow::menuItemSelected (int id, int)
{
    auto* ed = editor();
    if (ed == nullptr)
        return;
    auto& engine = ed->getEngine();
    if (id >= 3100 && id < 3132)
        ed->getMidi().chooseInput (id - 3100 + 1);
    else if (id >= 3200 && id < 3232)
        ed->getMidi().chooseOutput (id - 3200 + 1);
    switch (id)
    {
        case 2001: ed->copyValue(); break;
        case 2002: ed->pasteValue(); break;
        case undoItem: ed->undo(); break;
        case redoItem: ed->redo(); break;
        case compareOrvoItem: ed->compareWithOrvo(); break;
        case compareLibraryItem: ed->compareWithLibraryProgram(); break;
        case compareToggleItem: ed->toggleCompare(); break;
        case leaveCompareItem: ed->leaveCompare(); break;
        case 2003: ed->getTools().copySidebarSettings(); break;
        case 2004: ed->getTools().pasteSidebarSettings(); break;
        case 3006: engine.transferCurrentMidi(); break;
        case 1010: ed->setStorage(); break;
        case 1000: ed->getLibrarian().saveProgram(); break;
        case 1001: ed->getLibrarian().loadProgram(); break;
        case 1002: ed->getLibrarian().saveMix(); break;
        case 1003: ed->getLibrarian().loadMix(); break;
        case 1004: ed->getLibrarian().saveBank(); break;
        case 1005: ed->getLibrarian().loadBank(); break;
        case 1008: ed->getSession().sysExFiles().importSysEx(); break;
        case 1009: ed->getSession().sysExFiles().exportSysEx(); break;
        case 4001: ed->getSync().startProgramSync(); break;
        case 4002: ed->getSession().bankSync().confirmBankSync(); break;
        case 4003: ed->getSession().bankSync().confirmSystemSync(); break;
        case 4004: ed->getSession().bankSync().startTagHashExport(); break;
        case 3001: ed->getMidi().scan(); break;
        case 3002: ed->getMidi().openInput(); break;
        case 3003: ed->getMidi().openOutput(); break;
        case turnVirtualKnobItem: ed->turnVirtualKnob(); break;
        case 3004: ed->setFollowIncomingMidi (! engine.settings().followIncomingMidi); break;
        case 3007: ed->setVerifyTransfers (! engine.settings().verifyTransfers); break;
        case 3005: ed->setSendChangesImmediately (! engine.settings().sendChangesImmediately); break;
        default:
            if (id >= 5001 && id <= 6203)
                ed->changeSetting (id);
            break;
    }
    ed->refreshMidiStatus();
    menuItemsChanged();
}

void MainWindow::getAllCommands (juce::Array<juce::CommandID>& ids)
{
    ids.add (toggleLayoutModeCommand);
    ids.add (toggleLibraryCommand);
    ids.add (openMenuBarCommand);
}

void MainWindow::getCommandInfo (juce::CommandID id, juce::ApplicationCommandInfo& info)
{
    if (id == toggleLibraryCommand)
    {
        info.setInfo ("LIBRARY AND TAGS", "Show or hide the library: search, tag filters and tags.", "File", 0);
        info.addDefaultKeypress ('f', juce::ModifierKeys::commandModifier);
        info.setActive (editor() != nullptr);
        info.setTicked (editor() != nullptr && editor()->isLibraryShown());
        return;
    }
    if (id == openMenuBarCommand)
    {
        // The desktops' key for the menu bar.
        info.setInfo ("OPEN MENU BAR", "Open the menu bar from the keyboard.", "View", 0);
        info.addDefaultKeypress (juce::KeyPress::F10Key, 0);
        info.setActive (getMenuBarComponent() != nullptr);
        return;
    }
    if (id != toggleLayoutModeCommand)
        return;
    info.setInfo ("TOGGLE LAYOUT MODE", "Enter or exit layout mode.", "Edit", 0);
    info.addDefaultKeypress ('l', juce::ModifierKeys::commandModifier);
    auto* ed = editor();
    info.setActive (ed != nullptr);
    info.setTicked (ed != nullptr && ed->isLayoutEditShown());
}

bool MainWindow::perform (const InvocationInfo& info)
{
    if (info.commandID == toggleLibraryCommand && editor() != nullptr)
    {
        editor()->toggleLibraryPanel();
        return true;
    }
    if (info.commandID == openMenuBarCommand)
    {
        if (auto* bar = dynamic_cast<juce::MenuBarComponent*> (getMenuBarComponent()))
            bar->showMenu (0);
        return true;
    }
    if (info.commandID != toggleLayoutModeCommand || editor() == nullptr)
        return false;
    editor()->toggleLayoutMode();
    return true;
}

} // namespace orvo
