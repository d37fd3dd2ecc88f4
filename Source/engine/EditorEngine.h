#pragma once

#include "EditorSettings.h"
#include "MonitorLog.h"
#include "SidebarModel.h"
#include "effects/EffectSendGuard.h"
#include "midi/MidiDevices.h"
#include "midi/NrpnCodec.h"
#include "model/ModulationRouting.h"
#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"
#include "sync/SyncHost.h"

#include <array>
#include <atomic>
#include <bitset>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace juce
{
class var;
}

namespace orvo
{

/** The editor without its window: parameter values, the NRPN link, the per-row hand-over
    from the MIDI thread, the log and the sidebars. The view polls it from its 30 Hz timer. */
class EditorEngine final : public SyncHost
{
public:
    static constexpr int numRows = ParameterCatalogue::numRows;
    static constexpr int envelopeEchoWindowMs = 900;
    static constexpr int tuningSettleMs = 220;
    static constexpr int flashTicks = 8;
    static constexpr int selectionSettleTicks = 120;
    static constexpr int windowSizeReportDelayMs = 500;
    static constexpr size_t unmappedQueueLimit = 256;
    /** A digital-effect value is sent once more when it has rested this long, and the
        instrument's answer to that re-send is taken as an echo for this long after it. */
    static constexpr int effectSettleMs = 250;
    static constexpr int effectEchoWindowMs = 600;
    static bool isDigitalEffectNrpn (int nrpn) { return nrpn == 3603 || (nrpn >= 3604 && nrpn <= 3638); }

    struct Services
    {
        Clock& clock;
        Scheduler& scheduler;
        Prompts& prompts;
        FileDialogs& fileDialogs;
        Clipboard& clipboard;
    };

    explicit EditorEngine (Services services);
    ~EditorEngine() override;

    Services& services() { return io; }
    EditorSettings& settings() { return editorSettings; }
    MonitorLog& log() { return monitorLog; }
    SidebarModel& sidebars() { return sidebarModel; }
    ModulationRouting& modulation() { return modulationRouting; }
    const ModulationRouting& modulation() const { return modulationRouting; }

    //==== values (message thread) ====
    int value (int row) const { return values[(size_t)row]; }
    /** A value from code (Program, paste of a whole state): applied to the row's control rule, nothing sent. */
    void applyValue (int row, int raw);
    /** A value from code that the control must show as it is (clamped only). */
    void setValue (int row, int raw);
    /** The user moved a control: store, mark edited, send when sending is on. */
    void userEdit (int row, int raw);
    /** The control's SEND button: send the current value whatever the switch says. */
    void sendRow (int row);
    bool isEdited() const { return edited; }
    /** Text typed into a row's value box: the raw value to apply, or nothing, with a log line that
        says why the value was not changed (also kept for the view's status line). */
    std::optional<int> readTypedValue (int row, const std::string& text, const CustomKnobRange& range = {});
    const std::string& lastTypingProblem() const { return typingProblem; }
    void clearEdited() { edited = false; }
    void markEdited() { edited = true; }
    /** A tool (morph, macro, controller) moved a row: stored, shown on the next tick, sent when sending
        is on; the selection stays where the player left it. */
    void toolEdit (int row, int raw);
    /** A tool moved an interface control: shown and sent. */
    void toolInterfaceEdit (int nrpn, int value, const std::string& actionLabel);
    /** Every change the player makes to the Program's values, by name ("FILTER 1 FREQUENCY"); a tool or
        a whole-Program action names its move with `overrides`. The undo history listens. */
    std::function<void (const std::string& what, bool overrides)> onPlayerChange;
    void notePlayerChange (const std::string& what, bool overrides = false)
    {
        if (onPlayerChange)
            onPlayerChange (what, overrides);
    }

    /** Rows whose value changed since the view last asked, and whose highlight changed. */
    struct TickReport
    {
        std::vector<int> valueChangedRows;
        std::vector<int> highlightChangedRows;
        bool anyRowChanged = false;
        bool lastNrpnChanged = false;
    };
    /** The 30 Hz timer tick: `tickRows`, `drainLog` and `tickLastNrpn` in turn. The session runs
        the three steps itself, with the dependent displays and the librarian's saves between them. */
    TickReport tick();
    /** Countdowns, then each row's pending value and highlight. */
    TickReport tickRows();
    /** Log lines queued by other threads. */
    void drainLog();
    /** "Last NRPN", in diagnostic mode. */
    void tickLastNrpn (TickReport& report);
    /** A player's edit or paste changed a value the dependent displays draw. */
    std::function<void()> onDisplayedValueEdited;
    /** The timer's first step: logs the window's size once it has rested. */
    void reportWindowSize();
    bool isHighlighted (int row) const { return flashCounters[(size_t)row] > 0; }

    //==== copy, paste and whole-page sends (message thread) ====
    bool canCopySelected() const;
    bool canPasteSelected() const;
    void copySelectedValue();
    void pasteSelectedValue();
    void transferCurrentMidi();
    /** Sends every control of the page; returns the header status title and text. */
    std::pair<std::string, std::string> sendShownValues();

    //==== host transport (message thread) ====
    void receiveHostParameter (const std::string& key, double value, int flags);
    bool hostInputActive() const { return hostInput; }
    /** "__effect:" keys: given the effect control's ParameterId and the value, applies and sends it
        (inside the host call) and says whether a control took it; unset or false falls to the rows. */
    std::function<bool (const std::string& effectKey, int raw)> effectParameterInput;
    /** Interface controls the host changed: (NRPN, value) for the view to show. */
    std::vector<std::pair<int, int>> takeInterfaceValueChanges();
    std::string produceEditorState() const;
    bool restoreEditorState (const std::string& document);
    int selectedBank() const { return bankIndex; }
    int selectedProgram() const { return programTens + programUnits; }
    /** The Program selector's pick: bank 0..4, Program 0..127 (clamped), kept as tens and units. */
    void setSelection (int bank, int program);

    //==== NRPN sending (message thread) ====
    void setOutput (std::unique_ptr<MidiOutputConnection> output);
    bool hasOutput() const override { return midiOutput != nullptr; }
    int outputChannel() const;
    void sendCatalogue (int row, int raw);
    void sendInterface (int nrpn, int value, const std::string& actionLabel);
    /** One complete SysEx message to the instrument, logged like every sent message. */
    void sendSysEx (const std::vector<std::uint8_t>& message) override;
    /** A decoded Program: every defined row takes its value as it is, nothing is sent back. */
    void applyProgramValues (const std::array<int, numRows>& raw, const std::bitset<numRows>& defined) override;
    void diagnosticNudge (int delta);
    std::string lastNrpnText() const;

    //==== incoming MIDI (any thread) ====
    void handleIncomingMidi (const std::uint8_t* data, size_t size, bool fromControllerPort = false);

    /** Hooks for the parts of the protocol that live elsewhere. Each SysEx handler returns true
        when it took the message; they are asked in the order they were added. */
    void addSysExHandler (std::function<bool (const std::uint8_t*, size_t)> handler) override;
    std::function<void (int channel, int program)> onProgramChange;
    std::function<void (int channel, int bankValue)> onBankSelect;
    std::function<void (const std::uint8_t*, size_t)> onControllerMessage;
    /** While set, every NRPN assembled from the instrument's input is also handed to the controller
        mapping (MIDI thread), with the first catalogue row bound to it or -1. */
    std::atomic<bool> forwardNrpnsToControl{ false };
    std::function<void (const NrpnEvent&, int row)> onForwardedNrpn;
    /** Every interface send, with the value sent (the morph slots on that NRPN follow it). */
    std::function<void (int nrpn, int value)> onInterfaceSent;
    /** The "controlPages" object the editor state carries, and where a restored one goes. */
    std::function<juce::var()> toolStateOut;
    std::function<void (const juce::var&)> toolStateIn;
    std::atomic<int> bankSelectType{ -1 };
    /** The Bank Select CC 0 and CC 32 values (-1 when none) received on `channel` since its last
        Program Change; nothing when none came. Taking them starts the next count. */
    struct BankSelectValues
    {
        int cc0 = -1, cc32 = -1;
    };
    std::optional<BankSelectValues> takeBankSelect (int channel);

    //==== SyncHost ====
    Clock& clock() override { return io.clock; }
    Scheduler& scheduler() override { return io.scheduler; }
    void setSyncRunningQuery (std::function<bool()> query) override { isSyncRunning = std::move (query); }
    void setBankSelectType (int type) override { bankSelectType = type; }
    void logLine (const std::string& line) override { monitorLog.append (line); }
    void queueLogLine (const std::string& line) override { monitorLog.queueLine (line); }
    bool diagnosticLogOn() const override { return monitorLog.isMonitorVisible(); }
    bool midiInputMonitorOn() const override { return monitorLog.midiInputMonitor.load(); }

    std::vector<std::pair<int, int>> takeUnmappedNrpns();
    /** Drops the instrument's effect NRPNs for a while after a Wedge preset was sent. */
    EffectSendGuard& effectSendGuard() { return sendGuard; }

    //==== page, selection, window ====
    static const std::array<const char*, 6>& pageNames();
    void setPage (int tabIndex);
    int page() const { return currentPage; }
    std::string headerText() const;
    /** The selected slot's Program has not been read: the pages still hold another Program's values.
        Any decoded Program applied clears it. `slotLabel` names the slot ("USER 012"). */
    void setProgramUnread (bool unread, const std::string& slotLabel = {});
    bool isProgramUnread() const { return programUnread; }
    void selectRow (int row) { selectedRow = row, selectedInterface = -1; }
    int selected() const { return selectedRow; }
    /** PARAMETER DETAILS text of the selected row. */
    std::string parameterDetailsText() const;
    void selectInterface (int nrpn) { selectedRow = -1, selectedInterface = nrpn; }
    int selectedInterfaceNrpn() const { return selectedInterface; }

    void noteWindowSize (int width, int height);

    //==== monitor switches (message thread) ====
    void setMidiInputMonitor (bool on);
    void setMidiOutputMonitor (bool on);
    void setDiagnosticHighlight (bool on);
    void setDiagnosticMode (bool on);
    /** After the stored settings were read: default page, sidebars and diagnostic mode take effect. */
    void applySettingsAtStart();
    void setFollowIncomingMidi (bool on);
    void setSendChangesImmediately (bool on);
    /** Sets a pane's tool; keeps the log's collecting rule in step. */
    void setSidebarTool (int pane, int tool);
    void copyLog();

    void setSelectionSettle (int ticks) { selectionSettle.store (ticks); }

    //==== records shared with the MIDI thread ====
    struct LastNrpn
    {
        std::atomic<int> parameter{ -1 }, value{ -1 }, channel{ 0 };
        std::atomic<bool> taken{ false };
    };
    const LastNrpn& lastReceived() const { return received; }
    std::pair<int, int> lastSent() const { return { sentParameter.load(), sentValue.load() }; }

private:
    void sendNrpnOnWire (int channel, int parameter, int value);
    /** A value the player chose (directly or through a tool): stored, marked edited, sent when sending
        is immediate. False for a row that does not exist. */
    bool playerEdit (int row, int raw);
    void sendCatalogueRow (int row, int raw, bool isSettleResend);
    void dispatchControlChange (int channel, int controller, int data);
    void handleAssembledNrpn (const NrpnEvent& e);
    void storePending (int row, int value);
    static int convertIncoming (const OrvoParameterInfo& info, int value);
    std::string nrpnName (int nrpn) const;
    void queueLog (const std::string& text) { monitorLog.queueLine (text); }
    std::function<bool()> isSyncRunning;

    Services io;
    EditorSettings editorSettings;
    MonitorLog monitorLog;
    SidebarModel sidebarModel;
    ModulationRouting modulationRouting;

    std::array<int, numRows> values{};
    std::array<std::atomic<int>, numRows> pendingValues;
    std::array<std::atomic<std::uint8_t>, numRows> changedFlags;
    std::array<int, numRows> flashCounters{};
    bool edited = false;
    bool programUnread = false;
    std::string unreadSlotLabel;
    std::string typingProblem;
    std::bitset<numRows> fromInstrument; // the row's value came from the instrument (MIDI or a Program)
    std::vector<int> codeChangedRows;

    std::unique_ptr<MidiOutputConnection> midiOutput;

    std::mutex assemblerLock;
    NrpnAssembler assembler;
    std::vector<std::function<bool (const std::uint8_t*, size_t)>> sysExHandlers;

    LastNrpn received;
    std::atomic<int> sentParameter{ -1 }, sentValue{ -1 };
    std::atomic<int> envelopeGuardParameter{ -1 };
    std::atomic<double> envelopeGuardDeadline{ 0.0 };
    struct BankSelectSeen
    {
        std::atomic<int> cc0{ -1 }, cc32{ -1 };
        std::atomic<bool> seen{ false };
    };
    std::array<BankSelectSeen, 16> bankSelectSeen;
    std::atomic<std::uint32_t> tuningSettleCounter{ 0 };
    std::array<std::uint32_t, 36> effectSettleCounters{};
    std::atomic<int> settledEffectParameter{ -1 }, settledEffectValue{ -1 };
    std::atomic<double> settledEffectDeadline{ 0.0 };
    EffectSendGuard sendGuard;
    std::mutex unmappedLock;
    std::deque<std::pair<int, int>> unmappedNrpns;
    std::atomic<int> selectionSettle{ 0 };

    struct CopiedValue
    {
        bool present = false;
        OrvoParameterInfo shape;
        int value = 0;
    } copied;
    bool hostInput = false;
    std::vector<std::pair<int, int>> interfaceValueChanges;
    // The MIDI thread reads the selected bank when a Program Change names none.
    std::atomic<int> bankIndex{ 0 };
    int programTens = 0, programUnits = 0;
    std::vector<int> rowsOfPage (int tab) const;

    int currentPage = 0;
    int selectedRow = -1;
    int selectedInterface = -1;
    std::string lastNrpnShown;

    bool windowReportPending = false;
    double windowReportDue = 0.0;
    int pendingWidth = 0, pendingHeight = 0, reportedWidth = -1, reportedHeight = -1;

    std::shared_ptr<bool> alive = std::make_shared<bool> (true);
};

} // namespace orvo
