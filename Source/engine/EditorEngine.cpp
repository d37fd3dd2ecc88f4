#include "EditorEngine.h"

#include "EditNames.h"
#include "model/InterfaceControls.h"
#include "model/ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orvo
{
namespace
{
std::string enabledText (bool on)
{
    return on ? "enabled" : "disabled";
}

std::string ccPieces (const std::array<ControlChange, 4>& m)
{
    return " cc=[99:" + std::to_string (m[0][2]) + " 98:" + std::to_string (m[1][2]) +
           " 6:" + std::to_string (m[2][2]) + " 38:" + std::to_string (m[3][2]) + "]";
}

const int postFilterSourcesRow = *ParameterCatalogue::findById ("postfilter.noiseext");
const int arpLengthNrpn = 902;
} // namespace

EditorEngine::EditorEngine (Services s) : io (s)
{
    for (auto& p : pendingValues)
        p.store (-1);
    for (auto& c : changedFlags)
        c.store (0);
    for (int r = 0; r < numRows; ++r)
        values[(size_t)r] = ParameterCatalogue::row (r).rawMin;
    currentPage = EditorSettings::tabForDefaultPage (editorSettings.defaultPage);
    sidebarModel =
        SidebarModel (SidebarModel::validDefault (SidebarModel::top, editorSettings.defaultSidebarTop, false),
                      SidebarModel::validDefault (SidebarModel::bottom, editorSettings.defaultSidebarBottom, false));
    monitorLog.setMonitorVisible (sidebarModel.monitorShown());
}

EditorEngine::~EditorEngine()
{
    *alive = false;
}

//==============================================================================
void EditorEngine::applyValue (int row, int raw)
{
    if (row < 0 || row >= numRows)
        return;
    auto& v = values[(size_t)row];
    v = ParameterCatalogue::applyRawValue (ParameterCatalogue::row (row), raw);
    codeChangedRows.push_back (row);
}

void EditorEngine::setValue (int row, int raw)
{
    if (row < 0 || row >= numRows)
        return;
    const auto& info = ParameterCatalogue::row (row);
    values[(size_t)row] = std::clamp (raw, info.rawMin, info.rawMax);
    codeChangedRows.push_back (row);
}

bool EditorEngine::playerEdit (int row, int raw)
{
    if (row < 0 || row >= numRows)
        return false;
    const auto& info = ParameterCatalogue::row (row);
    notePlayerChange (editNameOfRow (row));
    values[(size_t)row] = std::clamp (raw, info.rawMin, info.rawMax);
    fromInstrument.reset ((size_t)row);
    edited = true;
    if (editorSettings.sendChangesImmediately)
        sendCatalogue (row, values[(size_t)row]);
    return true;
}

void EditorEngine::userEdit (int row, int raw)
{
    if (! playerEdit (row, raw))
        return;
    selectedRow = row;
    selectedInterface = -1;
    if (onDisplayedValueEdited)
        onDisplayedValueEdited();
}

void EditorEngine::toolEdit (int row, int raw)
{
    // A tool moves a control the player is not touching: its view must follow.
    if (playerEdit (row, raw))
        codeChangedRows.push_back (row);
}

void EditorEngine::toolInterfaceEdit (int nrpn, int value, const std::string& actionLabel)
{
    const int v = std::clamp (value, 0, 16383);
    interfaceValueChanges.emplace_back (nrpn, v);
    edited = true;
    sendInterface (nrpn, v, actionLabel);
}

std::optional<int> EditorEngine::readTypedValue (int row, const std::string& text, const CustomKnobRange& range)
{
    if (row < 0 || row >= numRows)
        return std::nullopt;
    const auto& info = ParameterCatalogue::row (row);
    const auto typed = ValueText::rawForTypedText (info, text, range);
    if (typed.ok())
        return typed.raw;
    const auto [low, high] = ValueConversion::limits (info, range);
    const auto window =
        ValueText::textForDisplayValue (info, low) + " TO " + ValueText::textForDisplayValue (info, high);
    typingProblem =
        typed.status == TypedValue::Status::outOfRange
            ? "\"" + text + "\" is outside the range of " + info.name + " (" + window + "); the value was not changed."
            : "\"" + text + "\" is not a value of " + info.name + "; type a number from " + window +
                  "; the value was not changed.";
    monitorLog.append (typingProblem + "\n");
    return std::nullopt;
}

void EditorEngine::sendRow (int row)
{
    if (row >= 0 && row < numRows)
        sendCatalogue (row, values[(size_t)row]);
}

//==============================================================================
void EditorEngine::setOutput (std::unique_ptr<MidiOutputConnection> output)
{
    midiOutput = std::move (output);
}

int EditorEngine::outputChannel() const
{
    const int setting = editorSettings.outputSendChannel.load();
    if (setting >= 1)
        return std::min (setting, 16);
    const int last = received.channel.load();
    return last > 0 ? std::clamp (last, 1, 16) : 1;
}

void EditorEngine::sendNrpnOnWire (int channel, int parameter, int value)
{
    const auto messages = buildNrpnMessages (channel, parameter, value);
    const bool monitorOut = monitorLog.midiOutputMonitor.load();
    bool failed = false;
    for (const auto& m : messages)
    {
        failed |= !midiOutput->send (m.data(), m.size());
        if (monitorOut)
            queueLog ("MIDI Output: " + describeMidiMessage (m.data(), m.size()) + "\n");
    }
    if (monitorOut)
        queueLog ("MIDI Output NRPN: ch=" + std::to_string (channel) + " parameter=" + std::to_string (parameter) +
                  " [" + std::to_string (parameter >> 7) + "*128+" + std::to_string (parameter & 127) +
                  "] raw=" + std::to_string (value) + " [" + std::to_string (value >> 7) + "*128+" +
                  std::to_string (value & 127) + "]\n");
    if (failed)
        monitorLog.append ("Could not send to MIDI output " + midiOutput->name() +
                           ": the port is closed. Reopen the Orvo MIDI output.\n");
}

void EditorEngine::sendCatalogue (int row, int raw)
{
    sendCatalogueRow (row, raw, false);
}

void EditorEngine::sendCatalogueRow (int row, int raw, bool isSettleResend)
{
    if (row < 0 || row >= numRows)
        return;
    const auto& info = ParameterCatalogue::row (row);
    if (info.nrpn < 0)
    {
        monitorLog.append (std::string (info.name) +
                           " is present for layout testing but is not wired to an Orvo NRPN yet.\n");
        return;
    }
    if (midiOutput == nullptr)
    {
        monitorLog.append ("No MIDI output is open. Open the Orvo MIDI output first.\n");
        return;
    }
    if (row == postFilterSourcesRow)
    {
        // The instrument takes this selection as three source switches, one bit each.
        const int selection = std::clamp (raw, 0, 7);
        sendInterface (2610, selection & 1, "PRE-FILTER SOURCE OSC 1 SINE");
        sendInterface (2611, (selection >> 1) & 1, "PRE-FILTER SOURCE OSC 2 SINE");
        sendInterface (2612, (selection >> 2) & 1, "PRE-FILTER SOURCE RING MOD");
        return;
    }

    const int x = std::clamp (raw, info.rawMin, info.rawMax);
    const int channel = outputChannel();
    sendNrpnOnWire (channel, info.nrpn, x);
    sentParameter.store (info.nrpn);
    sentValue.store (x);

    if (ParameterCatalogue::isEnvelopeRow (info))
    {
        envelopeGuardParameter.store (info.nrpn);
        envelopeGuardDeadline.store (io.clock.nowMs() + envelopeEchoWindowMs);
    }
    if (editorSettings.diagnosticMode)
        monitorLog.append ("Sent NRPN to Orvo: ch=" + std::to_string (channel) + " parameter=" +
                           std::to_string (info.nrpn) + " name=\"" + info.name + "\" value=" + std::to_string (x) +
                           ccPieces (buildNrpnMessages (channel, info.nrpn, x)) + "\n");

    if (ParameterCatalogue::isTuningRow (info) && !isSettleResend)
    {
        // The instrument's tuning can miss a value sent while the knob still moves; send the
        // resting value once more when the user has stopped.
        const auto counter = ++tuningSettleCounter;
        std::weak_ptr<bool> weak = alive;
        io.scheduler.callAfter (tuningSettleMs,
                                [this, weak, counter, row, x]
                                {
                                    if (auto a = weak.lock();
                                        a && *a && tuningSettleCounter.load() == counter && values[(size_t)row] == x)
                                        sendCatalogueRow (row, x, true);
                                });
    }
}

void EditorEngine::sendInterface (int nrpn, int value, const std::string& actionLabel)
{
    const int v = std::clamp (value, 0, 16383);
    // Route and effect values change in the editor only together with their send.
    notePlayerChange (actionLabel);
    if (onInterfaceSent)
        onInterfaceSent (nrpn, v);
    if (midiOutput == nullptr)
    {
        monitorLog.append ("No MIDI output is open. Open the Orvo MIDI output first.\n");
        return;
    }
    const int channel = outputChannel();
    sendNrpnOnWire (channel, nrpn, v);
    sendGuard.recordSent (nrpn, v);
    if (isDigitalEffectNrpn (nrpn))
    {
        // The effects processor can drop a value that arrives while it is still switching; send the
        // resting value once more, and take the instrument's answer to that as an echo.
        auto& counter = effectSettleCounters[(size_t)(nrpn - 3603)];
        const auto mine = ++counter;
        std::weak_ptr<bool> weak = alive;
        io.scheduler.callAfter (
            effectSettleMs,
            [this, weak, nrpn, v, mine]
            {
                auto a = weak.lock();
                if (!a || !*a || effectSettleCounters[(size_t)(nrpn - 3603)] != mine || midiOutput == nullptr)
                    return;
                sendNrpnOnWire (outputChannel(), nrpn, v);
                sentParameter.store (nrpn);
                sentValue.store (v);
                settledEffectParameter.store (nrpn);
                settledEffectValue.store (v);
                settledEffectDeadline.store (io.clock.nowMs() + effectEchoWindowMs);
                monitorLog.append ("Re-sent settled Digital Effects NRPN: parameter=" + std::to_string (nrpn) +
                                   " value=" + std::to_string (v) + "\n");
            });
    }
    if (editorSettings.diagnosticMode)
        monitorLog.append ("Sent interface NRPN to Orvo: ch=" + std::to_string (channel) + " action=\"" + actionLabel +
                           "\" parameter=" + std::to_string (nrpn) + " value=" + std::to_string (v) +
                           ccPieces (buildNrpnMessages (channel, nrpn, v)) + "\n");
}

void EditorEngine::setSelection (int bank, int program)
{
    bankIndex = std::clamp (bank, 0, 4);
    const int p = std::clamp (program, 0, 127);
    programTens = p / 10 * 10;
    programUnits = p - programTens;
}

void EditorEngine::sendSysEx (const std::vector<std::uint8_t>& message)
{
    if (midiOutput == nullptr || message.empty())
        return;
    if (!midiOutput->send (message.data(), message.size()))
        monitorLog.append ("Could not send to MIDI output " + midiOutput->name() +
                           ": the port is closed. Reopen the Orvo MIDI output.\n");
    if (monitorLog.midiOutputMonitor.load())
        queueLog ("MIDI Output: " + describeMidiMessage (message.data(), message.size()) + "\n");
}

void EditorEngine::setProgramUnread (bool unread, const std::string& slotLabel)
{
    programUnread = unread;
    unreadSlotLabel = unread ? slotLabel : std::string();
}

void EditorEngine::applyProgramValues (const std::array<int, numRows>& raw, const std::bitset<numRows>& defined)
{
    programUnread = false;
    for (int r = 0; r < numRows; ++r)
        if (defined.test ((size_t)r))
        {
            setValue (r, raw[(size_t)r]);
            fromInstrument.set ((size_t)r);
            // A value from the Program wins over an older one still waiting from the MIDI thread.
            pendingValues[(size_t)r].store (-1);
        }
}

void EditorEngine::diagnosticNudge (int delta)
{
    const int parameter = received.parameter.load();
    if (parameter < 0)
    {
        monitorLog.append ("Diagnostic NRPN nudge skipped: no last NRPN value is available.\n");
        return;
    }
    if (midiOutput == nullptr)
    {
        monitorLog.append ("No MIDI output is open. Open the Orvo MIDI output before using diagnostic NRPN nudges.\n");
        return;
    }
    const int old = received.value.load();
    const int v = std::clamp (old + delta, 0, 16383);
    if (v == old)
    {
        monitorLog.append ("Diagnostic NRPN nudge stopped at raw boundary: parameter=" + std::to_string (parameter) +
                           "\n");
        return;
    }
    const int channel = outputChannel();
    sendNrpnOnWire (channel, parameter, v);
    received.value.store (v);
    received.channel.store (channel);
    sentParameter.store (parameter);
    sentValue.store (v);
    monitorLog.append ("Diagnostic NRPN nudge sent: ch=" + std::to_string (channel) +
                       " parameter=" + std::to_string (parameter) + " value=" + std::to_string (v) +
                       ccPieces (buildNrpnMessages (channel, parameter, v)) + "\n");
}

std::string EditorEngine::nrpnName (int nrpn) const
{
    auto name = ParameterCatalogue::nameForNrpn (nrpn);
    if (name.empty())
        name = InterfaceControls::nameForNrpn (nrpn);
    // Effect controls change meaning with the algorithm, and this runs on the MIDI thread too, so
    // they are named by their place on the EFFECTS page.
    if (name.empty() && nrpn == 3603)
        name = "DIGITAL EFFECT ALGORITHM";
    else if (name.empty() && nrpn >= 3609 && nrpn <= 3638)
        name = "DIGITAL EFFECT PARAM" + std::to_string ((nrpn - 3603) / 6) + " SLOT " + std::to_string ((nrpn - 3603) % 6 + 1);
    return name;
}

std::string EditorEngine::lastNrpnText() const
{
    const int parameter = received.parameter.load();
    if (parameter < 0)
        return "Last NRPN: none";
    const auto name = nrpnName (parameter);
    return "Last NRPN: ch " + std::to_string (received.channel.load()) + " / " + std::to_string (parameter) + " = " +
           std::to_string (received.value.load()) + (name.empty() ? " (unmapped)" : " (" + name + ")");
}

//==============================================================================
void EditorEngine::addSysExHandler (std::function<bool (const std::uint8_t*, size_t)> handler)
{
    sysExHandlers.push_back (std::move (handler));
}

void EditorEngine::handleIncomingMidi (const std::uint8_t* data, size_t size, bool fromControllerPort)
{
    if (data == nullptr || size == 0)
        return;
    if (monitorLog.midiInputMonitor.load())
        queueLog ("MIDI Input: " + describeMidiMessage (data, size) + "\n");

    if (fromControllerPort)
    {
        if (onControllerMessage)
            onControllerMessage (data, size);
        return;
    }

    const int status = data[0];
    if (status == 0xF0)
    {
        for (auto& handler : sysExHandlers)
            if (handler (data, size))
                return;
        if ((isSyncRunning && isSyncRunning()) || monitorLog.midiInputMonitor.load())
            queueLog ("SYNC: received SysEx bytes=" + std::to_string (size) + " first-bytes=" +
                      hexBytes (data, std::min<size_t> (size, 24)) + (size > 24 ? " ..." : "") + "\n");
        return;
    }
    if ((status & 0xF0) == 0xC0)
    {
        if (onProgramChange && size >= 2)
            onProgramChange ((status & 15) + 1, data[1] & 127);
        return;
    }
    if ((status & 0xF0) != 0xB0 || size < 3)
        return;

    const int channel = (status & 15) + 1;
    const int listen = editorSettings.inputListenChannel.load();
    if (listen >= 1 && listen <= 16 && listen != channel)
        return;
    dispatchControlChange (channel, data[1] & 127, data[2] & 127);
}

std::optional<EditorEngine::BankSelectValues> EditorEngine::takeBankSelect (int channel)
{
    if (channel < 1 || channel > 16)
        return std::nullopt;
    auto& seen = bankSelectSeen[(size_t)(channel - 1)];
    if (!seen.seen.exchange (false))
        return std::nullopt;
    return BankSelectValues{ seen.cc0.exchange (-1), seen.cc32.exchange (-1) };
}

void EditorEngine::dispatchControlChange (int channel, int controller, int data)
{
    if (controller == 0 || controller == 32)
    {
        auto& seen = bankSelectSeen[(size_t)(channel - 1)];
        (controller == 0 ? seen.cc0 : seen.cc32).store (std::min (data, 127));
        seen.seen.store (true);
        const int type = bankSelectType.load();
        if (onBankSelect && ((type == 1 && controller == 0) || ((type == 0 || type == 2) && controller == 32)))
            onBankSelect (channel, data);
    }

    NrpnEvent event;
    {
        std::lock_guard<std::mutex> lock (assemblerLock);
        event = assembler.feed (channel, controller, data);
    }
    if (!event.complete)
        return;
    if (forwardNrpnsToControl.load() && onForwardedNrpn)
    {
        const auto row = ParameterCatalogue::findByNrpn (event.parameter);
        onForwardedNrpn (event, row ? *row : -1);
    }
    handleAssembledNrpn (event);
}

int EditorEngine::convertIncoming (const OrvoParameterInfo& info, int value)
{
    const auto id = std::string_view (info.id);
    const bool keyBase = id.rfind ("env", 0) == 0 && id.size() >= 8 && id.substr (id.size() - 8) == ".keybase";
    if (keyBase && value > info.rawMax)
    {
        // Some senders scale the key base to the full 12- or 14-bit range.
        const double scale = value < 4096 ? 4095.0 : 16383.0;
        const double v = std::min ((double)value, scale);
        const int raw = (int)std::lround (v / scale * (info.rawMax - info.rawMin) + info.rawMin);
        return std::clamp (raw, info.rawMin, info.rawMax);
    }
    if (keyBase)
        return std::max (value, info.rawMin);
    return value;
}

void EditorEngine::storePending (int row, int value)
{
    pendingValues[(size_t)row].store (value);
    if (monitorLog.diagnosticHighlight.load())
        changedFlags[(size_t)row].store (1);
}

static bool isEnvelopeLoopRow (const OrvoParameterInfo& info)
{
    const std::string_view id = info.id;
    return ParameterCatalogue::isEnvelopeRow (info) && id.find (".loop") != std::string_view::npos;
}

void EditorEngine::handleAssembledNrpn (const NrpnEvent& e)
{
    const auto recordReceived = [this, &e] (bool taken)
    {
        received.parameter.store (e.parameter);
        received.value.store (e.value);
        received.channel.store (e.channel);
        received.taken.store (taken);
    };

    if (e.parameter == arpLengthNrpn)
    {
        if (auto row = ParameterCatalogue::findByNrpn (arpLengthNrpn))
        {
            const auto& info = ParameterCatalogue::row (*row);
            storePending (*row, std::clamp (e.value, info.rawMin, info.rawMax));
        }
        recordReceived (true);
        return;
    }

    bool taken = false;
    const auto rows = ParameterCatalogue::rowsForNrpn (e.parameter);
    if (rows.empty() && e.parameter == settledEffectParameter.load() && e.value == settledEffectValue.load() &&
        io.clock.nowMs() < settledEffectDeadline.load())
    {
        // The instrument's answer to a settled re-send.
    }
    else if (rows.empty() && sendGuard.drops (e.parameter, e.value, io.clock.nowMs()))
    {
        // The instrument answering a Wedge preset the editor just sent.
    }
    else if (rows.empty())
    {
        std::lock_guard<std::mutex> lock (unmappedLock);
        if (unmappedNrpns.size() > unmappedQueueLimit)
            unmappedNrpns.erase (unmappedNrpns.begin(), unmappedNrpns.begin() + 128);
        unmappedNrpns.emplace_back (e.parameter, e.value);
    }
    else
    {
        taken = true;
        const bool envelope =
            std::any_of (rows.begin(), rows.end(),
                         [] (int r) { return ParameterCatalogue::isEnvelopeRow (ParameterCatalogue::row (r)); });
        const bool isEcho =
            envelope && e.parameter == envelopeGuardParameter.load() && io.clock.nowMs() < envelopeGuardDeadline.load();
        if (!isEcho)
            for (int r : rows)
                storePending (r, convertIncoming (ParameterCatalogue::row (r), e.value));
    }
    // The soft amount is applied by the oscillator FM routine together with its three companions;
    // until that routine exists it is shown like any other row.
    recordReceived (taken);

    if (monitorLog.midiInputMonitor.load())
    {
        std::string line =
            "Decoded NRPN: ch=" + std::to_string (e.channel) + " parameter=" + std::to_string (e.parameter);
        const auto name = nrpnName (e.parameter);
        if (!name.empty())
            line += " name=\"" + name + "\"";
        for (int r : rows)
            if (const auto& info = ParameterCatalogue::row (r); isEnvelopeLoopRow (info))
            {
                line += " env-loop=\"" + std::string (info.name) + " " + ValueText::displayText (info, convertIncoming (info, e.value)) + "\"";
                break;
            }
        line +=
            " value=" + std::to_string (e.value) + " msb=" + std::to_string (e.msb) + " lsb=" + std::to_string (e.lsb);
        if (e.parameter == sentParameter.load() && e.value == sentValue.load())
            line += "  confirmation-of-last-send";
        queueLog (line + "\n");
    }
}

std::vector<std::pair<int, int>> EditorEngine::takeUnmappedNrpns()
{
    std::lock_guard<std::mutex> lock (unmappedLock);
    std::vector<std::pair<int, int>> out (unmappedNrpns.begin(), unmappedNrpns.end());
    unmappedNrpns.clear();
    return out;
}

//==============================================================================
static bool isLoopOrCurveEnvelopeRow (const OrvoParameterInfo& info)
{
    if (!ParameterCatalogue::isEnvelopeRow (info))
        return false;
    const std::string_view field = std::string_view (info.id).substr (5);
    for (auto f : { "loopstart", "loopend", "loopcount", "looptype", "smoothtime", "smoothslope", "shape" })
        if (field == f)
            return true;
    return false;
}

void EditorEngine::reportWindowSize()
{
    if (! windowReportPending || io.clock.nowMs() < windowReportDue)
        return;
    windowReportPending = false;
    if (pendingWidth != reportedWidth || pendingHeight != reportedHeight)
    {
        reportedWidth = pendingWidth;
        reportedHeight = pendingHeight;
        monitorLog.append ("Window size: width=" + std::to_string (reportedWidth) + " height=" + std::to_string (reportedHeight) + ".\n");
    }
}

EditorEngine::TickReport EditorEngine::tick()
{
    auto report = tickRows();
    drainLog();
    tickLastNrpn (report);
    return report;
}

EditorEngine::TickReport EditorEngine::tickRows()
{
    TickReport report;
    report.valueChangedRows = std::exchange (codeChangedRows, {});
    report.anyRowChanged = !report.valueChangedRows.empty();

    // 1. window size report (the session runs it before the sync's step; here it finds nothing then)
    reportWindowSize();

    // 4. countdowns
    const int settle = selectionSettle.load();
    if (settle > 0)
        selectionSettle.store (settle - 1);

    // 5. pending values, one per row per tick: the last one received wins
    const bool highlight = editorSettings.diagnosticMode && monitorLog.diagnosticHighlight.load();
    for (int r = 0; r < numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        const bool wasHighlighted = flashCounters[(size_t)r] > 0;
        const int pending = pendingValues[(size_t)r].exchange (-1);
        if (pending >= 0 && editorSettings.followIncomingMidi && (settle <= 0 || isLoopOrCurveEnvelopeRow (info)))
        {
            values[(size_t)r] = ParameterCatalogue::applyRawValue (info, pending);
            fromInstrument.set ((size_t)r);
            report.valueChangedRows.push_back (r);
            report.anyRowChanged = true;
            if (highlight)
                flashCounters[(size_t)r] = flashTicks;
        }
        if (changedFlags[(size_t)r].exchange (0) != 0 && highlight)
            flashCounters[(size_t)r] = flashTicks;
        if (flashCounters[(size_t)r] > 0)
            --flashCounters[(size_t)r];
        if (wasHighlighted != (flashCounters[(size_t)r] > 0) || (flashCounters[(size_t)r] > 0 && !wasHighlighted))
            report.highlightChangedRows.push_back (r);
    }

    return report;
}

void EditorEngine::drainLog() { monitorLog.drain(); }

void EditorEngine::tickLastNrpn (TickReport& report)
{
    if (editorSettings.diagnosticMode)
    {
        auto text = lastNrpnText();
        if (text != lastNrpnShown)
        {
            lastNrpnShown = std::move (text);
            report.lastNrpnChanged = true;
        }
    }
}

//==============================================================================
const std::array<const char*, 6>& EditorEngine::pageNames()
{
    static const std::array<const char*, 6> names{ "PERFORMANCE", "LFOs",      "OSCILLATORS",
                                                   "FILTERS",     "ENVELOPES", "EFFECTS" };
    return names;
}

void EditorEngine::setPage (int tabIndex)
{
    currentPage = std::clamp (tabIndex, 0, 5);
    monitorLog.append (std::string ("Page changed to ") + pageNames()[(size_t)currentPage] + ".\n");
}

std::string EditorEngine::headerText() const
{
    // While the pages still hold the previous Program, the header says so instead of naming the page
    // (the tabs name it too).
    if (programUnread)
        return unreadSlotLabel + " NOT READ YET - PROGRAM SYNC";
    return std::string ("Brevant Kestrine Orvo Editor - ") + pageNames()[(size_t)currentPage];
}

std::string EditorEngine::parameterDetailsText() const
{
    if (selectedInterface >= 0)
    {
        const auto* info = InterfaceControls::find (selectedInterface);
        return "PARAMETER DETAILS\n\n" + std::string (info != nullptr ? info->actionLabel : "") +
               "\nKEY: " + InterfaceControls::key (selectedInterface) +
               "\nMAPPING: INTERFACE NRPN\nCONTROL: DIRECT EDIT\nNRPN " + std::to_string (selectedInterface) +
               (info != nullptr ? "\nRANGE: " + InterfaceControls::rangeText (*info) : std::string()) +
               "\nCOPY/PASTE: NOT AVAILABLE";
    }
    if (selectedRow < 0)
        return "PARAMETER DETAILS\n\nTEMPO IS SELECTED BY DEFAULT.\n\nClick a control to show its page, kind, NRPN and "
               "value here.";
    const auto& info = ParameterCatalogue::row (selectedRow);
    std::string midi;
    if (selectedRow == postFilterSourcesRow)
        midi = "NRPN 2610 / 2611 / 2612";
    else if (info.nrpn < 0)
        midi = "NOT WIRED";
    else
        midi = "NRPN " + std::to_string (info.nrpn);
    const auto estimate = SidebarModel::tuningEstimateText (selectedRow, [this] (int r) { return values[(size_t)r]; });
    const int raw = values[(size_t)selectedRow];
    return "PARAMETER DETAILS\n\n" + std::string (info.name) + "\nID: " + info.id +
           "\nPAGE: " + ParameterCatalogue::pageGroupName (info.group) + "\nSECTION: " + info.section +
           "\nCONTROL: " + ParameterCatalogue::controlKindName (info.kind) +
           "\nMAPPING: " + ValueConversion::formatName (info.displayFormat) + "\nMIDI: " + midi +
           "\nRANGE: " + ValueText::displayText (info, info.rawMin) + " TO " +
           ValueText::displayText (info, info.rawMax) + "\nRAW RANGE: " + std::to_string (info.rawMin) + " .. " +
           std::to_string (info.rawMax) + "\nVALUE: " + ValueText::displayText (info, raw) + " (RAW " +
           std::to_string (raw) + ")" +
           "\nCURRENT CONTROL: " + (fromInstrument.test ((size_t)selectedRow) ? "ORVO/MIDI" : "EDITOR") +
           (estimate.empty() ? std::string() : "\n" + estimate);
}

void EditorEngine::noteWindowSize (int width, int height)
{
    pendingWidth = width;
    pendingHeight = height;
    windowReportPending = true;
    windowReportDue = io.clock.nowMs() + windowSizeReportDelayMs;
}

//==============================================================================
void EditorEngine::setMidiInputMonitor (bool on)
{
    monitorLog.midiInputMonitor.store (on);
    monitorLog.append ("MIDI input monitor " + enabledText (on) + ".\n");
}

void EditorEngine::setMidiOutputMonitor (bool on)
{
    monitorLog.midiOutputMonitor.store (on);
    monitorLog.append ("MIDI output monitor " + enabledText (on) + ".\n");
}

void EditorEngine::setDiagnosticHighlight (bool on)
{
    monitorLog.diagnosticHighlight.store (on);
    monitorLog.append ("Diagnostic highlight mode " + enabledText (on) + ".\n");
}

void EditorEngine::setDiagnosticMode (bool on)
{
    editorSettings.diagnosticMode = on;
    sidebarModel.setDiagnosticMode (on);
    monitorLog.setMonitorVisible (sidebarModel.monitorShown());
    lastNrpnShown.clear();
}

void EditorEngine::applySettingsAtStart()
{
    const bool diagnostic = editorSettings.diagnosticMode;
    sidebarModel = SidebarModel (
        SidebarModel::validDefault (SidebarModel::top, editorSettings.defaultSidebarTop, diagnostic),
        SidebarModel::validDefault (SidebarModel::bottom, editorSettings.defaultSidebarBottom, diagnostic));
    sidebarModel.setDiagnosticMode (diagnostic);
    sidebarModel.setTool (SidebarModel::top,
                          SidebarModel::validDefault (SidebarModel::top, editorSettings.defaultSidebarTop, diagnostic));
    sidebarModel.setTool (
        SidebarModel::bottom,
        SidebarModel::validDefault (SidebarModel::bottom, editorSettings.defaultSidebarBottom, diagnostic));
    monitorLog.setMonitorVisible (sidebarModel.monitorShown());
    currentPage = EditorSettings::tabForDefaultPage (editorSettings.defaultPage);
}

void EditorEngine::setFollowIncomingMidi (bool on)
{
    editorSettings.followIncomingMidi = on;
    monitorLog.append ("Follow incoming MIDI " + enabledText (on) + ".\n");
}

void EditorEngine::setSendChangesImmediately (bool on)
{
    editorSettings.sendChangesImmediately = on;
    monitorLog.append ("Send changes immediately " + enabledText (on) + ".\n");
}

void EditorEngine::setSidebarTool (int pane, int tool)
{
    sidebarModel.setTool (pane, tool);
    monitorLog.setMonitorVisible (sidebarModel.monitorShown());
}

void EditorEngine::copyLog()
{
    const bool empty = monitorLog.text().empty();
    io.clipboard.setText (monitorLog.text());
    monitorLog.append (empty ? "Log is empty; copied blank text to clipboard.\n" : "Copied log to clipboard.\n");
}

} // namespace orvo
