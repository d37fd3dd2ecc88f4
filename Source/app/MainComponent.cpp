#include "MainComponent.h"

#include "ParameterHelpPanel.h"
#include "engine/HelpLookup.h"
#include "model/ValueText.h"
#include "layout/ui/LayoutPanels.h"

#include <algorithm>

namespace orvo
{
namespace
{
constexpr int topBarHeight = 44;
constexpr int tabRowTop = 48;
constexpr int tabRowHeight = 28;
constexpr int pageTop = 84;
constexpr int margin = 8;
constexpr int bottomBarHeight = 38;
constexpr int sidebarWidth = 292;
constexpr int panelHeaderHeight = 22;
constexpr int panelPadding = 6;
constexpr int panelGap = 8;
} // namespace

void SectionHeader::paint (juce::Graphics& g)
{
    const auto head = getLocalBounds();
    g.setColour (palette::panelHeader);
    g.fillRoundedRectangle (head.toFloat(), 4.0f);
    g.setColour (palette::text);
    g.setFont (getFont());
    g.drawText (getText(), head.reduced (7, 0), juce::Justification::centredLeft);
    if (subtitle.isNotEmpty())
    {
        g.setColour (palette::dimText);
        g.setFont (juce::Font (11.5f, juce::Font::italic));
        g.drawText (subtitle, head.reduced (7, 0), juce::Justification::centredRight);
    }
}

void PageView::paint (juce::Graphics& g)
{
    for (const auto& f : frames)
    {
        const auto r = f.toFloat();
        g.setColour (palette::panel);
        g.fillRoundedRectangle (r, 5.0f);
        g.setColour (palette::panelOutline);
        g.drawRoundedRectangle (r.reduced (0.5f), 5.0f, 1.0f);
    }
    if (note.isNotEmpty())
    {
        g.setColour (palette::dimText);
        g.setFont (juce::Font (14.0f));
        g.drawFittedText (note, getLocalBounds().reduced (24).withTrimmedTop (120), juce::Justification::centredTop, 6);
    }
}

MainComponent::MainComponent (Options options)
    : session (std::make_unique<EditorSession> (EditorSession::Platform {
          clock, scheduler, prompts, fileDialogs, clipboard, &platformMidi, {} })),
      engine (&session->engine()),
      monitorPanel (*engine),
      topPane (*engine, SidebarModel::top, monitorPanel, detailsPanel),
      bottomPane (*engine, SidebarModel::bottom, monitorPanel, detailsPanel)
{
    effectsView = std::make_unique<EffectsPageView> (session->effects().page());
    applyAppearance();
    setLookAndFeel (&lookAndFeel);
    setWantsKeyboardFocus (true);

    header.setFont (juce::Font (17.0f, juce::Font::bold));
    header.setMinimumHorizontalScale (0.8f);
    header.setColour (juce::Label::textColourId, palette::text);
    addAndMakeVisible (header);
    registerItem (header, "top.logo");
    lastNrpnLabel.setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 10.0f, juce::Font::plain));
    lastNrpnLabel.setJustificationType (juce::Justification::centredLeft);
    lastNrpnLabel.setBorderSize ({});
    lastNrpnLabel.setMinimumHorizontalScale (0.7f);
    lastNrpnLabel.setColour (juce::Label::textColourId, palette::lcd.ink);
    addChildComponent (lastNrpnLabel);
    registerItem (lastNrpnLabel, "top.lastNrpn");

    sendShownButton.setTooltip ("Send every value shown on this page to the Orvo.");
    sendShownButton.onClick = [this] {
        const auto [title, text] = engine->sendShownValues();
        headerStatus.setText (juce::String (title) + ": " + juce::String (text), juce::dontSendNotification);
        headerStatus.setTooltip (juce::String (title) + "\n" + juce::String (text));
    };
    addAndMakeVisible (sendShownButton);
    registerItem (sendShownButton, "editor.header.sendShown");
    // The status screen: results of the header's actions over the MIDI ports (and, in Diagnostic
    // Mode, the last NRPN received).
    headerStatus.setFont (juce::Font (10.5f));
    headerStatus.setJustificationType (juce::Justification::topLeft);
    headerStatus.setBorderSize ({});
    headerStatus.setMinimumHorizontalScale (0.9f);
    headerStatus.setColour (juce::Label::textColourId, palette::lcd.ink);
    addAndMakeVisible (headerStatus);
    registerItem (headerStatus, "editor.header.status");

    for (int t = 0; t < 6; ++t)
    {
        auto& b = tabs[(size_t) t];
        b.setButtonText (EditorEngine::pageNames()[(size_t) t]);
        b.setRadioGroupId (1001);
        b.setClickingTogglesState (false);
        b.onClick = [this, t] { setPage (t); };
        addAndMakeVisible (b);
        registerItem (b, "page.tab." + juce::String (t));
    }
    defaultPageLabel.setFont (juce::Font (12.0f, juce::Font::bold));
    defaultPageLabel.setJustificationType (juce::Justification::centredRight);
    addAndMakeVisible (defaultPageLabel);
    registerItem (defaultPageLabel, "page.defaultPage.label");
    for (int value : { 6, 1, 2, 3, 4, 5 })
        defaultPageChooser.addItem (EditorEngine::pageNames()[(size_t) EditorSettings::tabForDefaultPage (value)], value);
    defaultPageChooser.setSelectedId (engine->settings().defaultPage, juce::dontSendNotification);
    defaultPageChooser.onChange = [this] { changeSetting (5200 + defaultPageChooser.getSelectedId()); };
    addAndMakeVisible (defaultPageChooser);
    registerItem (defaultPageChooser, "page.defaultPage.dropdown");

    for (int t = 0; t < 6; ++t)
    {
        // Each page scrolls when the layout makes it taller than the space it is shown in.
        auto& view = pageViews[(size_t) t];
        view.setViewedComponent (&pages[(size_t) t], false);
        view.setScrollBarsShown (true, false);
        view.setScrollBarThickness (10);
        view.getProperties().set (layoutProperty::passThrough, true);
        pages[(size_t) t].getProperties().set (layoutProperty::placedByParent, true);
        addChildComponent (view);
        registerItem (pages[(size_t) t], "editor.page" + juce::String (t));
    }
    buildPages();

    const auto toolView = [this] (int tool)
    {
        std::unique_ptr<ToolPanel> view;
        if (tool == SidebarModel::layoutEdit)
            view = std::make_unique<LayoutEditPanel> (*layout);
        else if (tool == SidebarModel::parameterAttributes)
            view = std::make_unique<LayoutAttributesPanel> (*layout);
        else if (tool == SidebarModel::parameterProperties)
            view = std::make_unique<LayoutPropertiesPanel> (*layout);
        else if (tool == SidebarModel::digitalFxConfig)
            view = std::make_unique<DigitalFxConfigPanel> (*layout);
        else if (tool == SidebarModel::parameterHelp)
            view = std::make_unique<ParameterHelpPanel> ([this] { return selectedHelpKey(); });
        else
            view = makeToolPanel (tool, session->tools(), session->midi(), *engine, session->virtualController(),
                                  [this] { saveEditorSettings (getSettingsStore(), engine->settings()); });
        // The tool's items carry its name in their layout ids.
        static const char* keys[] = { "", "parameterDetails", "monitor", "morph", "macros", "notes", "parameterHelp",
                                      "midiControl", "layoutEdit", "parameterAttributes", "parameterProperties", "digitalFxConfig" };
        if (view != nullptr && tool >= 1 && tool <= 11)
            view->setComponentID (keys[tool]);
        return view;
    };
    topPane.makeToolView = toolView;
    bottomPane.makeToolView = toolView;
    controllerWake.run = [this]
    {
        session->tools().processControllerInput();
        showToolChanges();
    };
    session->tools().onControllerInput = [this] { controllerWake.triggerAsyncUpdate(); };
    topPane.onToolChanged = [this] { refreshSidebars(); };
    monitorPanel.onMonitorSwitched = [this] {
        auto& s = engine->settings();
        s.midiInputMonitor = engine->log().midiInputMonitor.load();
        s.midiOutputMonitor = engine->log().midiOutputMonitor.load();
        saveSession (getSettingsStore(), s);
    };
    bottomPane.onToolChanged = [this] { refreshSidebars(); };
    addAndMakeVisible (topPane);
    addAndMakeVisible (bottomPane);
    registerItem (topPane, "sidebar.top.pane");
    registerItem (bottomPane, "sidebar.bottom.pane");
    registerItem (monitorPanel, "monitor");
    registerItem (detailsPanel, "details");

    layout = std::make_unique<LayoutController> (
        *this, prompts, fileDialogs, [this] { return getLibrarian().library().folder (LibraryRoot::Folder::layouts); },
        [this] (const std::string& line) { engine->log().append (line); });
    layout->currentPage = [this] { return engine->page(); };
    rangePopups = std::make_unique<RangePopupHost> (*this, *layout);
    layout->afterApply = [this]
    {
        bool widthChanged = false;
        for (int t = 0; t < 6; ++t)
            widthChanged = sizePage (t) || widthChanged;
        if (widthChanged)
            juce::MessageManager::callAsync ([safe = juce::Component::SafePointer<MainComponent> (this)]
            {
                if (safe == nullptr)
                    return;
                for (int t = 0; t < 6; ++t)
                    safe->layOutPage (t);
                safe->layout->apply();
            });
    };
    layout->currentAlgorithmName = [this] { return effectAlgorithmName (session->effects().page().algorithm()); };
    layout->onModeChanged = [safe = juce::Component::SafePointer<MainComponent> (this)]
    {
        // After the button that asked has finished: the sidebars may be rebuilt.
        juce::MessageManager::callAsync ([safe] { if (safe != nullptr) safe->updateDigitalFxTool(); });
    };

    const int startTab = shownPage = engine->page();
    pageViews[(size_t) startTab].setVisible (true);
    tabs[(size_t) startTab].setToggleState (true, juce::dontSendNotification);
    header.setText (engine->headerText(), juce::dontSendNotification);

    setSize (designWidth, designHeight);
    refreshSidebars();
    refreshDetails();
    session->finishStartup();
    session->displays().takeChanged();
    showDisplays ((1u << DependentDisplays::numDisplays) - 1);
    modOverlay = std::make_unique<ModulationOverlay> (engine->modulation());
    modOverlay->onSend = [this] (const ModulationSend& send)
    {
        engine->sendInterface (send.nrpn, send.value, send.actionLabel);
        session->displays().refresh();
        showDisplays (session->displays().takeChanged());
    };
    addChildComponent (*modOverlay);
    registerItem (*modOverlay, "overlay.modRouting");
    modButton.setTooltip ("Show the modulation routes: enable, source, destination, level and offset of each.");
    addAndMakeVisible (modButton);
    registerItem (modButton, "editor.header.modRouting");
    midiOverlay = std::make_unique<MidiSettingsOverlay> (getMidi(), *engine);
    midiOverlay->onClose = [this] { showOverlay (nullptr); };
    midiOverlay->onPortsChanged = [this] { refreshMidiStatus(); };
    midiOverlay->onSettingsChanged = [this] {
        saveEditorSettings (getSettingsStore(), engine->settings());
        saveSession (getSettingsStore(), engine->settings());
    };
    midiOverlay->onSendImmediatelyChanged = [this] (bool on) { setSendChangesImmediately (on); };
    addChildComponent (*midiOverlay);
    registerItem (*midiOverlay, "overlay.midiSettings");
    midiButton.setTooltip ("Choose and open the Orvo's MIDI ports and channels.");
    midiButton.onClick = [this] { showOverlay (midiOverlay->isVisible() ? nullptr : midiOverlay.get()); };
    addAndMakeVisible (midiButton);
    registerItem (midiButton, "editor.header.midiSettings");
    modOverlay->onClose = [this] { showOverlay (nullptr); };
    modButton.onClick = [this] { showOverlay (modOverlay->isVisible() ? nullptr : modOverlay.get()); };
    generatorPanel = std::make_unique<GeneratorPanel> (session->generator());
    generatorPanel->onClose = [this] { showOverlay (nullptr); };
    addChildComponent (*generatorPanel);
    registerItem (*generatorPanel, "overlay.generator");
    generatorButton.setTooltip ("Generate a new Program by recipe, send it to the Orvo and rate it.");
    generatorButton.onClick = [this] { showOverlay (generatorPanel->isVisible() ? nullptr : generatorPanel.get()); };
    addAndMakeVisible (generatorButton);
    registerItem (generatorButton, "editor.header.generator");
    libraryPanel = std::make_unique<LibraryPanel> (session->finder());
    libraryPanel->onClose = [this] { showOverlay (nullptr); };
    addChildComponent (*libraryPanel);
    registerItem (*libraryPanel, "overlay.library");
    libraryButton.setTooltip ("Find a Program by name, tag or notes in the selected bank or the library folder, and tag "
                              "the selected Program (Ctrl+F).");
    libraryButton.onClick = [this] { toggleLibraryPanel(); };
    addAndMakeVisible (libraryButton);
    registerItem (libraryButton, "editor.header.library");
    bottomBar = std::make_unique<BottomBar> (getSync().selector());
    bottomBar->onClearKnobs = [this] { clearAllKnobRanges(); };
    addAndMakeVisible (*bottomBar);
    registerItem (*bottomBar, "bottom.bar");
    for (auto& [item, id] : bottomBar->items())
        registerItem (*item, id);
    getLibrarian().refreshViews = [this] {
        bottomBar->refresh (engine->settings().diagnosticMode);
        refreshSidebars();
        refreshDetails();
    };
    mixPanel = std::make_unique<MixSettingsOverlayPanel> (getMixSettings());
    mixPanel->onClose = [this] { showOverlay (nullptr); };
    addChildComponent (*mixPanel);
    registerItem (*mixPanel, "overlay.mixSettings");
    bottomBar->onMixSettings = [this] {
        if (mixPanel->isVisible())
            showOverlay (nullptr);
        else
            openMixSettings();
    };
    bottomBar->refresh (engine->settings().diagnosticMode);
    syncOverlay.onCancel = [this] {
        auto& transfers = session->transfers();
        if (transfers.isBankTransferRunning())
            transfers.cancelBankTransfer();
        else
            getSync().cancelSync();
    };
    addChildComponent (renameOverlay);
    registerItem (renameOverlay, "overlay.renameProgram");
    compareOverlay = std::make_unique<CompareOverlay> (session->compare());
    addChildComponent (*compareOverlay);
    registerItem (*compareOverlay, "overlay.compare");
    renameOverlay.onRename = [this] (const std::string& name) {
        session->transfers().renameProgram (engine->selectedBank(), engine->selectedProgram(), name);
    };
    bottomBar->onRename = [this] {
        auto& selector = getSync().selector();
        if (const auto refusal = selector.renameRefusal (engine->settings().diagnosticMode))
            return engine->services().prompts.showChoice ("Rename Program", *refusal, { "OK" }, nullptr);
        renameOverlay.open (getLibrarian().state().names.name (engine->selectedBank(), engine->selectedProgram()));
    };
    bottomBar->onOpenSelection = [this] {
        session->finder().setScope (ProgramFinder::Scope::bank);
        if (! libraryPanel->isVisible())
            toggleLibraryPanel();
    };
    resized();
    addChildComponent (syncOverlay);
    registerItem (syncOverlay, "overlay.syncProgress");
    layout->startup();
    engine->log().append ("STARTUP: editor ready in " + juce::String (clock.nowMs() - session->startedAtMs(), 1).toStdString() + " ms.\n");
    if (! options.standalone)
        engine->log().append ("Plugin mode: direct hardware MIDI ports are disabled until the host MIDI transport is connected.\n\n");
    startTimerHz (30);

    midiStatus.setFont (juce::Font (10.0f));
    midiStatus.setBorderSize ({});
    midiStatus.setMinimumHorizontalScale (0.7f);
    lastNrpnLabel.setInterceptsMouseClicks (false, false);
    midiStatus.setColour (juce::Label::textColourId, palette::lcd.ink);
    midiStatus.setJustificationType (juce::Justification::centredRight);
    addAndMakeVisible (midiStatus);
    registerItem (midiStatus, "editor.header.midiStatus");
    layout->apply(); // the status came after the layout's first pass
    if (options.virtualOrvoAtWireRate)
        session->virtualOrvo().setWireRate (true);
    if (options.standalone)
    {
        const bool useVirtual = options.useVirtualOrvo;
        scheduler.callAfter (1000, [this, useVirtual] {
            getMidi().scan (! useVirtual);
            if (useVirtual)
                getMidi().openVirtualOrvo();
            refreshMidiStatus();
        });
    }
}

MainComponent::~MainComponent()
{
    stopTimer();
    getMidi().closeAll(); // no input callback runs after this
    session->tools().onControllerInput = nullptr;
    controllerWake.cancelPendingUpdate();
    engine->log().setListener (nullptr);
    for (auto& c : controls)
        c->onUserEdit = nullptr;
    removeAllChildren();
    setLookAndFeel (nullptr);
}

void MainComponent::registerItem (juce::Component& c, const juce::String& id)
{
    if (c.getComponentID().isEmpty())
        c.setComponentID (id);
    else if (c.getComponentID() != id)
        engine->log().append ("COMPONENT HAS MULTIPLE IDS: " + c.getComponentID().toStdString() + ", " + id.toStdString() + "\n");
    registry[c.getComponentID()] = &c;
}

juce::Component* MainComponent::findItem (const juce::String& layoutId) const
{
    auto it = registry.find (layoutId);
    return it == registry.end() ? nullptr : it->second;
}

void MainComponent::buildPages()
{
    controls.resize ((size_t) EditorEngine::numRows);
    for (int r = 0; r < EditorEngine::numRows; ++r)
    {
        auto c = std::make_unique<ParameterControl> (r, ParameterCatalogue::row (r));
        c->onUserEdit = [this] (int row, int raw) {
            engine->userEdit (row, raw);
            refreshDetails();
            showDisplays (session->displays().takeChanged());
        };
        c->onSend = [this] (int row) { engine->sendRow (row); };
        c->onGestureBegin = [this] { session->history().beginGesture(); };
        c->onGestureEnd = [this] { session->history().endGesture(); };
        c->onRangeRequested = [this] (ParameterControl& control) { openRangePopup (control); };
        c->onSelect = [this] (int row) {
            engine->selectRow (row);
            refreshDetails();
        };
        // Values show in the instrument's units; typed text is read back the same way.
        c->formatValue = [] (const OrvoParameterInfo& info, int raw, const CustomKnobRange& range) {
            return juce::String::fromUTF8 (ValueText::displayText (info, raw, range).c_str());
        };
        c->parseValue = [this, r] (const OrvoParameterInfo&, const juce::String& text, const CustomKnobRange& range) {
            const auto raw = engine->readTypedValue (r, text.toStdString(), range);
            if (! raw)
            {
                headerStatus.setText ("VALUE NOT CHANGED", juce::dontSendNotification);
                headerStatus.setTooltip (engine->lastTypingProblem());
            }
            return raw;
        };
        c->refreshValueText();
        c->setSendImmediately (engine->settings().sendChangesImmediately);
        c->showValue (engine->value (r));
        registry[c->getComponentID()] = c.get();
        controls[(size_t) r] = std::move (c);
    }
    for (const auto& info : InterfaceControls::all())
    {
        auto v = std::make_unique<InterfaceControlView> (info);
        v->onSend = [this] (int nrpn, int value, const std::string& label) { engine->sendInterface (nrpn, value, label); };
        v->onSelect = [this] (int nrpn) {
            engine->selectInterface (nrpn);
            refreshDetails();
        };
        registry[v->getComponentID()] = v.get();
        interfaceViews.push_back (std::move (v));
    }
    static const char* const displayIds[] = { "osc1", "osc2", "lfo1", "lfo2", "lfo3", "env1", "env2", "env3" };
    for (size_t d = 0; d < shapeDisplays.size(); ++d)
        registerItem (shapeDisplays[d], juce::String ("editor.display.") + displayIds[d]);
    registerItem (routingSummary, "editor.display.routing");
    shapeDisplays[DependentDisplays::env3].setUnipolar (true);
    for (const auto& plan : pagePlans())
    {
        auto& page = pages[(size_t) plan.tab];
        for (const auto& panel : plan.panels)
        {
            auto title = std::make_unique<SectionHeader>();
            title->setText (juce::String (panel.title), juce::dontSendNotification);
            title->setFont (juce::Font (13.0f, juce::Font::bold));
            if (panel.title != panel.section)
                title->subtitle = juce::String (panel.section);
            title->setInterceptsMouseClicks (false, false);
            page.addAndMakeVisible (*title);
            registerItem (*title, sectionHeaderId (plan.tab, panel.title));
            page.headers.push_back (std::move (title));
            if (panel.display == DependentDisplays::routing)
                page.addAndMakeVisible (routingSummary);
            else if (panel.display >= 0)
                page.addAndMakeVisible (shapeDisplays[(size_t) panel.display]);
            for (int r : panel.rows)
                page.addAndMakeVisible (*controls[(size_t) r]);
            for (int nrpn : panel.interfaceNrpns)
                for (auto& v : interfaceViews)
                    if (v->getInfo().nrpn == nrpn)
                        page.addAndMakeVisible (*v);
        }
    }
    effectsView->onSend = [this] (const EffectNrpnSend& send)
    {
        engine->sendInterface (send.nrpn, send.raw, send.actionLabel);
        if (send.nrpn == effects::selectionNrpn)
            session->wedge().editorSelectedAlgorithm (session->effects().page().algorithm());
    };
    pages[5].addAndMakeVisible (*effectsView);
    effectsTools = std::make_unique<EffectsToolsView> (*session, *this, pages[5]);
    effectsTools->onStatus = [this] (const std::string& title, const std::string& text)
    { headerStatus.setText (juce::String (title) + ": " + juce::String (text), juce::dontSendNotification); };
    registry[effectsView->getComponentID()] = effectsView.get();
}

void MainComponent::layOutPage (int tab)
{
    auto& page = pages[(size_t) tab];
    const auto& plan = pagePlans()[(size_t) tab];
    page.frames.clear();
    if (tab == 5)
    {
        effectsView->setBounds (page.getLocalBounds());
        if (effectsTools != nullptr)
            effectsTools->layoutButtons (page.getLocalBounds().removeFromTop (30));
        return;
    }

    const int columns = plan.columns;
    const int width = page.getWidth();
    // Columns break at the shown height; a taller page only adds room below.
    const int height = pageViews[(size_t) tab].getHeight() > 0 ? pageViews[(size_t) tab].getHeight() : page.getHeight();
    const int columnWidth = (width - panelGap * (columns - 1)) / columns;
    const int pageRowHeight = plan.rowHeight; // a page may pack its rows tighter than the default
    const bool explicitColumns = std::any_of (plan.panels.begin(), plan.panels.end(), [] (const PagePanel& p) { return p.startsColumn; });
    const auto panelHeight = [pageRowHeight] (const PagePanel& p) {
        return panelHeaderHeight + panelPadding * 2 + (p.display >= 0 ? p.displayHeight : p.itemCount() * pageRowHeight);
    };
    int total = 0;
    for (const auto& p : plan.panels)
        total += panelHeight (p) + panelGap;
    const int target = total / columns;

    int column = 0, y = 0;
    for (const auto& p : plan.panels)
    {
        const int h = panelHeight (p);
        const bool breakHere = explicitColumns ? p.startsColumn : (y + h > height || y + h / 2 > target);
        if (y > 0 && column + 1 < columns && breakHere)
        {
            ++column;
            y = 0;
        }
        const juce::Rectangle<int> bounds (column * (columnWidth + panelGap), y, columnWidth, h);
        page.frames.push_back (bounds);
        if (const auto at = (size_t) (&p - plan.panels.data()); at < page.headers.size())
            page.headers[at]->setBounds (bounds.withHeight (panelHeaderHeight).reduced (1));

        auto inner = bounds.withTrimmedTop (panelHeaderHeight + panelPadding).reduced (panelPadding, 0);
        if (p.display == DependentDisplays::routing)
            routingSummary.setBounds (inner.removeFromTop (p.displayHeight));
        else if (p.display >= 0)
            shapeDisplays[(size_t) p.display].setBounds (inner.removeFromTop (p.displayHeight));
        for (int r : p.rows)
            controls[(size_t) r]->setBounds (inner.removeFromTop (pageRowHeight));
        for (int nrpn : p.interfaceNrpns)
            for (auto& v : interfaceViews)
                if (v->getInfo().nrpn == nrpn)
                    v->setBounds (inner.removeFromTop (pageRowHeight));
        y += h + panelGap;
    }
    page.repaint();
}

bool MainComponent::sizePage (int tab)
{
    auto& view = pageViews[(size_t) tab];
    auto& page = pages[(size_t) tab];
    const int shown = view.getHeight();
    int height = shown;
    if (layout != nullptr)
        if (const auto own = layout->session().pageHeight ("page" + std::to_string (tab)))
            height = std::max (shown, *own);
    const int width = view.getWidth() - (height > shown ? view.getScrollBarThickness() : 0);
    const bool widthChanged = width != page.getWidth();
    page.setBounds (page.getX(), page.getY(), width, height);
    return widthChanged && page.getWidth() > 0 && tab != 5;
}

void MainComponent::setPage (int tab)
{
    engine->setPage (tab);
    const int now = engine->page();
    if (now != shownPage)
    {
        shownPage = now;
        for (auto& v : pageViews)
            v.setVisible (false);
        pageViews[(size_t) now].setVisible (true);
        layOutPage (now);
        layout->apply();
        updateDigitalFxTool();
        repaint();
    }
    for (int t = 0; t < 6; ++t)
        tabs[(size_t) t].setToggleState (t == now, juce::dontSendNotification);
    header.setText (engine->headerText(), juce::dontSendNotification);
}

void MainComponent::setDiagnosticMode (bool on)
{
    const bool wasOn = engine->settings().diagnosticMode;
    engine->setDiagnosticMode (on);
    if (wasOn && ! on)
    {
        // Diagnostic mode may have let the editor work without knowing the instrument's mode.
        getSync().forgetMode();
    }
    updateDigitalFxTool();
    lastNrpnLabel.setVisible (on);
    if (on)
        lastNrpnLabel.setText (engine->lastNrpnText(), juce::dontSendNotification);
    refreshSidebars();
}

void MainComponent::setSendChangesImmediately (bool on)
{
    engine->setSendChangesImmediately (on);
    for (auto& c : controls)
        c->setSendImmediately (on);
    saveSession (getSettingsStore(), engine->settings());
}

void MainComponent::setVerifyTransfers (bool on)
{
    engine->settings().verifyTransfers = on;
    saveSession (getSettingsStore(), engine->settings());
    engine->log().append (std::string ("Transfers to the Orvo are ") + (on ? "read back and verified" : "not verified") + ".\n");
}

void MainComponent::setFollowIncomingMidi (bool on)
{
    engine->setFollowIncomingMidi (on);
    saveSession (getSettingsStore(), engine->settings());
}

void MainComponent::rememberWindowSize (int width, int height)
{
    auto& s = engine->settings();
    s.windowWidth = width;
    s.windowHeight = height;
    saveSession (getSettingsStore(), s);
}

void MainComponent::toggleLayoutMode()
{
    layout->toggleLayoutMode();
}

bool MainComponent::writeLayoutOfEveryItem (const juce::File& file)
{
    LayoutDocument look;
    const bool diagnostic = engine->settings().diagnosticMode;
    const int topTool = engine->sidebars().tool (SidebarModel::top), bottomTool = engine->sidebars().tool (SidebarModel::bottom);
    engine->setDiagnosticMode (true);
    engine->sidebars().setDiagnosticMode (true, true);
    // Each tool in each pane, with the shared displays kept apart so neither shows its placeholder.
    for (int tool : SidebarModel::toolList (true, true))
        for (int pane : { SidebarModel::top, SidebarModel::bottom })
        {
            const int other = tool == SidebarModel::monitor ? SidebarModel::parameterDetails : SidebarModel::monitor;
            engine->setSidebarTool (1 - pane, other);
            engine->setSidebarTool (pane, tool);
            refreshSidebars();
            layout->addCurrentLook (look);
        }
    // The range popup's items, as layout mode shows them.
    for (auto& c : controls)
        if (c->getInfo().kind == kindContinuous)
        {
            rangePopups->showInEditor (*c);
            layout->addCurrentLook (look);
            rangePopups->closeInEditor();
            break;
        }
    engine->setDiagnosticMode (diagnostic);
    engine->setSidebarTool (SidebarModel::top, topTool);
    engine->setSidebarTool (SidebarModel::bottom, bottomTool);
    refreshSidebars();
    return layout->writeLook (look, file);
}

void MainComponent::updateDigitalFxTool()
{
    const bool diagnostic = engine->settings().diagnosticMode;
    const bool fx = diagnostic && layout->isLayoutMode() && engine->page() == 5;
    if (fx == engine->sidebars().isDigitalFxLayoutEditing())
        return;
    engine->sidebars().setDiagnosticMode (diagnostic, fx);
    refreshSidebars();
}

bool MainComponent::isLayoutEditShown() const { return engine->sidebars().showsTool (SidebarModel::layoutEdit); }

void MainComponent::refreshSidebars()
{
    topPane.refresh();
    bottomPane.refresh();
    topPane.resized();
    if (layout != nullptr)
        layout->apply();
}

void MainComponent::refreshDetails()
{
    auto text = engine->parameterDetailsText();
    if (const int row = engine->selected(); row >= 0)
        text += "\n\n" + session->tools().assignmentText (ParameterCatalogue::row (row).id);
    const auto key = selectedHelpKey();
    if (const auto* help = key.empty() ? nullptr : helpFor (key))
        text += "\n\nHELP: " + help->title + "\n" + help->description;
    detailsPanel.setText (text);
    shownDetailsRow = engine->selected();
    if (key != shownHelpKey)
    {
        // PARAMETER HELP follows the selection.
        shownHelpKey = key;
        topPane.refreshToolView();
        bottomPane.refreshToolView();
    }
}

std::string MainComponent::selectedHelpKey() const
{
    if (const int row = engine->selected(); row >= 0)
        return ParameterCatalogue::row (row).id;
    if (const int nrpn = engine->selectedInterfaceNrpn(); nrpn >= 0)
        return InterfaceControls::key (nrpn);
    return {};
}

void MainComponent::showDisplays (unsigned changed)
{
    auto& displays = session->displays();
    for (size_t d = 0; d < shapeDisplays.size(); ++d)
        if ((changed & (1u << d)) != 0)
            shapeDisplays[d].show (displays.drawing ((DependentDisplays::Display) d));
    if ((changed & (1u << DependentDisplays::routing)) != 0)
        routingSummary.show (displays.routingLines());
}

void MainComponent::timerCallback()
{
    showTickReport (session->tick());
}

void MainComponent::showTickReport (const EditorSession::TickReport& report)
{
    // A restored editor state (a host) may have moved the engine to another page.
    if (engine->page() != shownPage)
        setPage (engine->page());
    const auto& transferOverlay = session->transfers().overlay();
    syncOverlay.show (transferOverlay.visible ? transferOverlay : getSync().sync().overlay());
    effectsTools->tick();
    layout->showAlgorithm (session->effects().page().algorithm());
    for (int route : report.effects.changedRoutes)
        modOverlay->refresh (route);
    if (session->compare().takeChanged())
        compareOverlay->refresh();
    if (report.effects.effectsChanged)
        effectsView->refresh();
    for (int r : report.rows.valueChangedRows)
        controls[(size_t) r]->showValue (engine->value (r));
    for (int r : report.rows.highlightChangedRows)
        controls[(size_t) r]->setHighlighted (engine->isHighlighted (r));
    if (report.rows.anyRowChanged && engine->selected() >= 0)
        refreshDetails();
    if (report.displaysChanged != 0)
        showDisplays (report.displaysChanged);
    if (report.rows.lastNrpnChanged)
        lastNrpnLabel.setText (engine->lastNrpnText(), juce::dontSendNotification);
    if (mixPanel->isVisible())
        mixPanel->refresh();
    if (generatorPanel->isVisible())
        generatorPanel->refresh();
    if (libraryPanel->isVisible())
        libraryPanel->refresh();
    bottomBar->refresh (engine->settings().diagnosticMode);
    header.setText (engine->headerText(), juce::dontSendNotification); // repaints only when it changed
    showToolChanges();
}

void MainComponent::showToolChanges()
{
    if (session->tools().takeChanged())
    {
        topPane.refreshToolView();
        bottomPane.refreshToolView();
        refreshDetails(); // a learned or cleared assignment shows in the details
    }
}

void MainComponent::refreshMidiStatus()
{
    if (midiOverlay != nullptr && midiOverlay->isVisible())
        midiOverlay->refresh();
    auto& midi = getMidi();
    const auto in = midi.isInputOpen() ? midi.openInputName() : std::string ("closed");
    const auto out = midi.isOutputOpen() ? midi.openOutputName() : std::string ("closed");
    midiStatus.setText ("MIDI IN: " + in + "   MIDI OUT: " + out, juce::dontSendNotification);
    midiStatus.setTooltip (midi.statusText());
}

void MainComponent::openMixSettings()
{
    showOverlay (mixPanel.get());
    session->mix().open();
    mixPanel->refresh();
}

void MainComponent::clearAllKnobRanges()
{
    prompts.showChoice (ParameterRangeRules::clearAllTitle, ParameterRangeRules::clearAllQuestion,
                        { ParameterRangeRules::clearAllConfirmCaption, ParameterRangeRules::clearAllCancelCaption },
                        [safe = juce::Component::SafePointer<MainComponent> (this)] (int choice) {
                            if (safe == nullptr || choice != 0)
                                return;
                            for (auto& c : safe->controls)
                                c->setCustomRange ({});
                        });
}

void MainComponent::openRangePopup (ParameterControl& control)
{
    rangePopups->open (control);
}

void MainComponent::showOverlay (juce::Component* overlay)
{
    // One panel over the page at a time.
    for (juce::Component* c : { static_cast<juce::Component*> (modOverlay.get()), static_cast<juce::Component*> (midiOverlay.get()),
                                static_cast<juce::Component*> (mixPanel.get()), static_cast<juce::Component*> (generatorPanel.get()),
                                static_cast<juce::Component*> (libraryPanel.get()) })
        c->setVisible (c == overlay);
    generatorButton.setToggleState (overlay == generatorPanel.get(), juce::dontSendNotification);
    if (overlay == generatorPanel.get())
        generatorPanel->refresh();
    libraryButton.setToggleState (overlay == libraryPanel.get(), juce::dontSendNotification);
    if (overlay == libraryPanel.get())
        libraryPanel->refresh();
    modButton.setToggleState (overlay == modOverlay.get(), juce::dontSendNotification);
    midiButton.setToggleState (overlay == midiOverlay.get(), juce::dontSendNotification);
    if (overlay == midiOverlay.get())
        midiOverlay->refresh();
    if (overlay != nullptr)
        overlay->toFront (false);
}

void MainComponent::toggleLibraryPanel()
{
    if (libraryPanel->isVisible())
    {
        showOverlay (nullptr);
        return;
    }
    session->finder().invalidate(); // documents written elsewhere since the last search are found too
    showOverlay (libraryPanel.get());
    libraryPanel->focusSearch();
}

void MainComponent::applyAppearance()
{
    const auto& s = engine->settings();
    lookAndFeel.apply ({ s.layoutColor, s.defaultLedColor, s.lcdColor, s.lcdScreenType, s.valueBoxColor, s.dropdownMenuColor, s.programFont });
    header.setColour (juce::Label::textColourId, palette::text);
    lastNrpnLabel.setColour (juce::Label::textColourId, palette::lcd.ink);
    midiStatus.setColour (juce::Label::textColourId, palette::lcd.ink);
    headerStatus.setColour (juce::Label::textColourId, palette::lcd.ink);
    sendLookAndFeelChange();
    repaint();
}

void MainComponent::changeSetting (int id)
{
    auto& s = engine->settings();
    if (id == 6200)
        setDiagnosticMode (! s.diagnosticMode);
    else if (id == 6202)
    {
        getSettingsStore().resetWarnings(); // it logs the reset itself
        return;
    }
    const auto choice = applySettingsMenuChoice (s, id);
    if (! choice.handled && id != 6200)
        return;
    defaultPageChooser.setSelectedId (s.defaultPage, juce::dontSendNotification);
    saveEditorSettings (getSettingsStore(), s, choice.change);
    if (choice.changesLooks)
        applyAppearance();
}

void MainComponent::setStorage()
{
    getLibrarian().setStorage (fileDialogs);
}

void MainComponent::copyValue()
{
    engine->copySelectedValue();
}

void MainComponent::pasteValue()
{
    engine->pasteSelectedValue();
    refreshDetails();
    showDisplays (session->displays().takeChanged());
}

void MainComponent::undo()
{
    session->history().undo();
    refreshDetails();
}

void MainComponent::redo()
{
    session->history().redo();
    refreshDetails();
}

void MainComponent::compareWithOrvo()
{
    session->compare().startWithInstrument();
    compareOverlay->refresh();
}

void MainComponent::compareWithLibraryProgram()
{
    const auto folder = getLibrarian().library().folder (LibraryRoot::Folder::programs);
    fileDialogs.chooseFileToOpen ("Compare with a Program", folder.getFullPathName().toStdString(), "*.orvop",
                                  [this] (std::optional<std::string> path) {
                                      if (path && session->compare().startWithDocument (juce::File (*path)))
                                          compareOverlay->refresh();
                                  });
}

void MainComponent::toggleCompare()
{
    session->compare().toggle();
    compareOverlay->refresh();
}

void MainComponent::leaveCompare()
{
    session->compare().leave();
    compareOverlay->refresh();
}

void MainComponent::receiveHostParameter (const std::string& key, double value, int hostFlags)
{
    const juce::ScopedValueSetter<bool> reentry (hostInputActive, true);
    engine->receiveHostParameter (key, value, hostFlags);
}

void MainComponent::turnVirtualKnob()
{
    int row = 0;
    do
        row = random.nextInt (EditorEngine::numRows);
    while (ParameterCatalogue::row (row).nrpn < 0);
    const auto& info = ParameterCatalogue::row (row);
    const int value = info.rawMin + random.nextInt (info.rawMax - info.rawMin + 1);
    engine->log().append ("Virtual Orvo: a player turns " + std::string (info.name) + " (" + info.id + ") to " + std::to_string (value) + ".\n");
    getVirtualOrvo().turnKnob (row, value);
}

bool MainComponent::keyPressed (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();
    if (key == juce::KeyPress ('c', juce::ModifierKeys::commandModifier, 0))
    {
        copyValue();
        return true;
    }
    if (key == juce::KeyPress ('v', juce::ModifierKeys::commandModifier, 0))
    {
        pasteValue();
        return true;
    }
    if (key == juce::KeyPress ('z', juce::ModifierKeys::commandModifier, 0))
    {
        undo();
        return true;
    }
    if (key == juce::KeyPress ('z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0))
    {
        redo();
        return true;
    }
    if (key == juce::KeyPress ('s', juce::ModifierKeys::commandModifier, 0))
    {
        getLibrarian().saveSelected();
        return true;
    }
    if (key == juce::KeyPress ('o', juce::ModifierKeys::commandModifier, 0))
    {
        getLibrarian().loadSelected();
        return true;
    }
    if (engine->settings().diagnosticMode && ! mods.isShiftDown() && ! mods.isCtrlDown() && ! mods.isAltDown()
        && (key.getKeyCode() == juce::KeyPress::upKey || key.getKeyCode() == juce::KeyPress::downKey))
    {
        engine->diagnosticNudge (key.getKeyCode() == juce::KeyPress::upKey ? 1 : -1);
        return true;
    }
    return false;
}

void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (palette::background);
    g.setColour (palette::topBar);
    g.fillRect (0, 0, designWidth, topBarHeight);
    drawLcd (g, statusScreen.toFloat(), palette::lcd);
    g.setColour (palette::accent);
    g.fillRect (0, topBarHeight - 2, designWidth, 2);
}

void MainComponent::resized()
{
    header.setBounds (margin + 4, 4, 364, topBarHeight - 8);
    sendShownButton.setBounds (margin + 368, 9, 140, topBarHeight - 18);
    modButton.setBounds (margin + 514, 9, 110, topBarHeight - 18);
    midiButton.setBounds (margin + 630, 9, 118, topBarHeight - 18);
    generatorButton.setBounds (margin + 754, 9, 110, topBarHeight - 18);
    libraryButton.setBounds (margin + 870, 9, 96, topBarHeight - 18);
    statusScreen = { margin + 972, 3, designWidth - margin * 2 - 972, topBarHeight - 7 };
    auto screen = statusScreen.reduced (6, 2);
    headerStatus.setBounds (screen.removeFromTop (22));
    lastNrpnLabel.setBounds (screen.removeFromLeft (screen.getWidth() / 2));
    midiStatus.setBounds (screen);

    const int pageWidth = designWidth - sidebarWidth - margin * 3;
    auto tabRow = juce::Rectangle<int> (margin, tabRowTop, pageWidth, tabRowHeight);
    auto chooserArea = tabRow.removeFromRight (250);
    defaultPageChooser.setBounds (chooserArea.removeFromRight (140).reduced (0, 2));
    defaultPageLabel.setBounds (chooserArea);
    const int tabWidth = tabRow.getWidth() / 6;
    for (auto& t : tabs)
        t.setBounds (tabRow.removeFromLeft (tabWidth).reduced (2, 0));

    for (int t = 0; t < 6; ++t)
    {
        pageViews[(size_t) t].setBounds (margin, pageTop, pageWidth, designHeight - pageTop - margin - bottomBarHeight - 4);
        sizePage (t);
        layOutPage (t);
    }

    if (bottomBar != nullptr)
        bottomBar->setBounds (margin, designHeight - margin - bottomBarHeight, pageWidth, bottomBarHeight);
    syncOverlay.setBounds (getLocalBounds());
    renameOverlay.setBounds (getLocalBounds());
    if (compareOverlay != nullptr)
        compareOverlay->setBounds (getLocalBounds());
    if (effectsTools != nullptr)
        effectsTools->layoutOverlays (getLocalBounds());
    for (juce::Component* overlay : { static_cast<juce::Component*> (modOverlay.get()), static_cast<juce::Component*> (midiOverlay.get()),
                                      static_cast<juce::Component*> (mixPanel.get()), static_cast<juce::Component*> (generatorPanel.get()),
                                static_cast<juce::Component*> (libraryPanel.get()) })
        if (overlay != nullptr)
            overlay->setBounds (margin, pageTop - 36, designWidth - sidebarWidth - margin * 3, designHeight - pageTop + 36 - margin * 2 - bottomBarHeight);
    const int sideX = designWidth - sidebarWidth - margin;
    const int sideHeight = designHeight - tabRowTop - margin;
    topPane.setBounds (sideX, tabRowTop, sidebarWidth, sideHeight * 9 / 20);
    bottomPane.setBounds (sideX, topPane.getBottom() + margin, sidebarWidth, designHeight - margin - topPane.getBottom() - margin);
    if (layout != nullptr)
        layout->apply();
}

} // namespace orvo
