#pragma once

#include "BottomBar.h"
#include "PlatformServices.h"
#include "RangePopupHost.h"
#include "SidebarViews.h"
#include "effects/ui/EffectsPageView.h"
#include "engine/EditorSession.h"
#include "engine/EditorSettingsBinding.h"
#include "engine/HostSinks.h"
#include "engine/PagePlan.h"
#include "layout/ui/LayoutController.h"
#include "midi/JuceMidiDevices.h"
#include "midi/ui/MidiSettingsOverlay.h"
#include "mix/ui/MixSettingsOverlayPanel.h"
#include "model/ui/InterfaceControlView.h"
#include "model/ui/ModulationOverlay.h"
#include "model/ui/ParameterControl.h"
#include "model/ui/ParameterRangePopup.h"
#include "model/ui/ShapeDisplayView.h"
#include "platform/JuceTime.h"
#include "sync/ui/SyncProgressOverlay.h"
#include "RenameOverlay.h"
#include "library/ui/LibraryPanel.h"
#include "CompareOverlay.h"
#include "effects/ui/EffectsToolsView.h"
#include "tools/ui/GeneratorPanel.h"
#include "ui/OrvoLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <memory>
#include <vector>

namespace orvo
{

/** A panel's title bar: a label (so a layout can restyle its caption) drawn as the bar, with the
    panel's catalogue section on the right when the title names a unit of it. */
class SectionHeader final : public juce::Label
{
public:
    juce::String subtitle;
    void paint (juce::Graphics&) override;
};

/** One page of controls, drawn as panels; each panel's header is an item of its own. */
class PageView final : public juce::Component
{
public:
    std::vector<juce::Rectangle<int>> frames;
    std::vector<std::unique_ptr<SectionHeader>> headers;
    juce::String note;
    void paint (juce::Graphics&) override;
};

/** The editor: every page, the sidebars and the timer through which MIDI-thread work reaches
    the screen. The state and rules live in the engine; this component shows them. */
class MainComponent final : public juce::Component, public HostMidiInputSink, private juce::Timer
{
public:
    static constexpr int designWidth = 1280;
    static constexpr int designHeight = 1024;

    struct Options
    {
        bool standalone = true;
        /** Open the built-in Virtual Orvo at start instead of the remembered ports. */
        bool useVirtualOrvo = false;
        /** The Virtual Orvo answers at the cable's speed, as hardware does (long reads show their progress). */
        bool virtualOrvoAtWireRate = false;
    };

    explicit MainComponent (Options options);
    ~MainComponent() override;

    EditorSession& getSession() { return *session; }
    EditorEngine& getEngine() { return *engine; }
    MidiConnection& getMidi() { return session->midi(); }
    ToolsController& getTools() { return session->tools(); }
    VirtualOrvo& getVirtualOrvo() { return session->virtualOrvo(); }
    /** A player turns a random knob on the Virtual Orvo (a diagnostic action). */
    void turnVirtualKnob();
    void copyValue();
    SyncController& getSync() { return session->sync(); }
    /** A Settings menu choice: stores it, logs it and lets it take effect. */
    void changeSetting (int menuItemId);
    EditorSettingsStore& getSettingsStore() { return session->settingsStore(); }
    /** File menu "SET STORAGE": choose the library folder. */
    void setStorage();
    LibrarianController& getLibrarian() { return session->librarian(); }
    MixSettings& getMixSettings() { return session->mix().settings(); }
    /** "MIX SETTINGS": shows the overlay and reads the instrument's current Mix into it. */
    void openMixSettings();
    void pasteValue();
    void undo();
    void redo();
    /** COMPARE with the instrument's stored version of the slot, or with a Program document picked in the library. */
    void compareWithOrvo();
    void compareWithLibraryProgram();
    void toggleCompare();
    void leaveCompare();
    /** Host transport: changes that come from a host are applied without being reported back. */
    void receiveHostParameter (const std::string& key, double value, int hostFlags);

    void setPage (int tab);
    void setDiagnosticMode (bool on);
    void setSendChangesImmediately (bool on);
    void setFollowIncomingMidi (bool on);
    void setVerifyTransfers (bool on);
    /** Keeps the window's size for the next start. */
    void rememberWindowSize (int width, int height);
    void toggleLayoutMode();
    /** Ctrl+F and the header's LIBRARY button: shows the library panel with the search field focused,
        or hides it. */
    void toggleLibraryPanel();
    bool isLibraryShown() const { return libraryPanel != nullptr && libraryPanel->isVisible(); }
    bool isLayoutEditShown() const;
    LayoutController& getLayout() { return *layout; }
    /** Writes every item of every page, overlay and sidebar tool, where the layout puts it now. */
    bool writeLayoutOfEveryItem (const juce::File& file);
    /** DIGITAL FX CONFIG is offered while layout mode edits the EFFECTS page in Diagnostic Mode. */
    void updateDigitalFxTool();
    void noteWindowSize (int w, int h) { engine->noteWindowSize (w, h); }

    void receiveHostMidi (const std::uint8_t* data, size_t size) override { engine->handleIncomingMidi (data, size); }
    bool hostInputActive = false;

    juce::Component* findItem (const juce::String& layoutId) const;
    size_t itemCount() const { return registry.size(); }

    void paint (juce::Graphics&) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress&) override;

private:
    void timerCallback() override;
    void buildPages();
    void layOutPage (int tab);
    void refreshDetails();
    void refreshSidebars();
    /** The key of the selected control for the help: a row's id or an interface key. */
    std::string selectedHelpKey() const;
    /** Shows the drawings of the dependent displays named by `changed` (DependentDisplays bits). */
    void showDisplays (unsigned changed);
public:
    void refreshMidiStatus();
private:
    void registerItem (juce::Component& c, const juce::String& id);

    JuceClock clock;
    JuceScheduler scheduler;
    AlertPrompts prompts;
    JuceFileDialogs fileDialogs;
    SystemClipboardText clipboard;
    JuceMidiDevices platformMidi;
    std::unique_ptr<EditorSession> session;
    EditorEngine* engine = nullptr;
    void applyAppearance();
    juce::Label midiStatus;
    juce::Random random;
    OrvoLookAndFeel lookAndFeel;
    OrvoTooltipWindow tooltips { this, 600 };

    juce::Label header, lastNrpnLabel, headerStatus;
    juce::Rectangle<int> statusScreen;
    juce::TextButton sendShownButton { "SEND SHOWN VALUES" };
    std::array<juce::TextButton, 6> tabs;
    juce::Label defaultPageLabel { {}, "DEFAULT PAGE:" };
    juce::ComboBox defaultPageChooser;
    std::array<PageView, 6> pages;
    std::array<juce::Viewport, 6> pageViews;
    /** Gives the page its layout's height (never less than shown); true when its width changed. */
    bool sizePage (int tab);

    std::vector<std::unique_ptr<ParameterControl>> controls;
    std::vector<std::unique_ptr<InterfaceControlView>> interfaceViews;
    std::array<ShapeDisplayView, DependentDisplays::routing> shapeDisplays;
    RoutingSummaryView routingSummary;
    std::unique_ptr<MixSettingsOverlayPanel> mixPanel;
    SyncProgressOverlay syncOverlay;
    RenameOverlay renameOverlay;
    std::unique_ptr<CompareOverlay> compareOverlay;
    std::unique_ptr<EffectsToolsView> effectsTools;
    std::unique_ptr<ModulationOverlay> modOverlay;
    juce::TextButton modButton { "MOD ROUTING" };
    std::unique_ptr<MidiSettingsOverlay> midiOverlay;
    juce::TextButton midiButton { "MIDI SETTINGS" };
    std::unique_ptr<GeneratorPanel> generatorPanel;
    std::unique_ptr<LibraryPanel> libraryPanel;
    juce::TextButton libraryButton { "LIBRARY" };
    juce::TextButton generatorButton { "GENERATOR" };
    std::unique_ptr<BottomBar> bottomBar;
    void clearAllKnobRanges();
    void openRangePopup (ParameterControl& control);
    void showOverlay (juce::Component* overlay);
    std::unique_ptr<EffectsPageView> effectsView;
    void showTickReport (const EditorSession::TickReport& report);

    MonitorPanel monitorPanel;
    ParameterDetailsPanel detailsPanel;
    SidebarPane topPane, bottomPane;
    /** Controller input is applied as soon as the message thread is free, not on the next tick. */
    struct ControllerWake final : juce::AsyncUpdater
    {
        std::function<void()> run;
        void handleAsyncUpdate() override { run(); }
    } controllerWake;
    void showToolChanges();

    std::map<juce::String, juce::Component*> registry;
    std::unique_ptr<LayoutController> layout;
    std::unique_ptr<RangePopupHost> rangePopups;
    int shownDetailsRow = -2;
    std::string shownHelpKey;
    int shownPage = -1;
};

} // namespace orvo
