#pragma once

#include "EditorEngine.h"
#include "midi/MidiDevices.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** The instrument's MIDI input and output and the controller input: scanning, choosing,
    opening, remembering and reconnecting them, and the initial-sync prompt of a new connection. */
class MidiConnection
{
public:
    MidiConnection (EditorEngine& engine, MidiDevices& devices);
    ~MidiConnection();

    /** Reads the device lists again and reports them; the first scan also reconnects the remembered
        ports unless `reconnectRemembered` is false (the editor was told which ports to use). */
    void scan (bool reconnectRemembered = true);
    const std::vector<MidiDeviceInfo>& inputDevices() const { return inputs; }
    const std::vector<MidiDeviceInfo>& outputDevices() const { return outputs; }
    bool hasScanned() const { return scanned; }

    /** Chooser ids: device position + 1, 0 for none. */
    int selectedInput() const { return inputChoice; }
    int selectedOutput() const { return outputChoice; }
    int selectedController() const { return controllerChoice; }
    /** The user picked a device (chooser or MIDI menu); logs the choice. */
    void chooseInput (int id);
    void chooseOutput (int id);
    void chooseController (int id);

    void openInput();
    void openOutput();
    void openControllerInput();
    /** Selects and opens the Virtual Orvo's pair, as if the user had chosen it. */
    void openVirtualOrvo();
    /** Selects and opens the Virtual Controller as the controller input. */
    void openVirtualController();
    void closeAll();

    bool isInputOpen() const { return input != nullptr; }
    bool isOutputOpen() const { return engine.hasOutput(); }
    std::string openInputName() const { return current.inputName; }
    std::string openOutputName() const { return current.outputName; }

    /** The MIDI settings status text of the last operation. */
    const std::string& statusText() const { return status; }

    static int matchRemembered (const std::vector<MidiDeviceInfo>& devices, const std::string& identifier,
                                const std::string& name);
    static std::string channelText (int channel) { return channel <= 0 ? "OMNI" : "CH " + std::to_string (channel); }

    /** Runs the instrument's initial sync when the user asks for it. */
    std::function<void()> onInitialSync;
    /** Told whenever the remembered ports change, so they can be stored. */
    std::function<void()> onRememberedPortsChanged;
    /** The instrument's mode is not known any more (a port was opened again). */
    std::function<void()> onModeUnknown;

    static const char* const instructionLines[9];

private:
    void autoConnect();
    void initialSyncCheck();
    void notice (const std::string& text);
    void log (const std::string& text) { engine.log().append (text); }

    EditorEngine& engine;
    MidiDevices& devices;
    std::vector<MidiDeviceInfo> inputs, outputs;
    int inputChoice = 0, outputChoice = 0, controllerChoice = 0;
    std::unique_ptr<MidiInputConnection> input, controller;
    struct Current
    {
        std::string inputId, inputName, outputId, outputName;
        bool operator== (const Current& o) const
        {
            return inputId == o.inputId && inputName == o.inputName && outputId == o.outputId &&
                   outputName == o.outputName;
        }
    } current;
    // The port pair the initial-sync question was last asked for: another pair is asked about again.
    std::optional<Current> promptedFor;
    bool scanned = false, autoConnectDone = false;
    std::string status;
};

} // namespace orvo
