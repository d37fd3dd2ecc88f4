#include "MidiConnection.h"

#include "instrument/VirtualController.h"

#include "instrument/VirtualOrvo.h"

namespace orvo
{

const char* const MidiConnection::instructionLines[9] = {
    "  1. Select the MIDI input and output connected to your Orvo.\n",
    "  2. Press OPEN MIDI INPUT, then OPEN MIDI OUTPUT.\n",
    "  3. Leave the input listen channel at OMNI unless the Orvo shares its port with other gear.\n",
    "  4. Leave the output send channel at OMNI to answer on the channel the Orvo last used.\n",
    "  5. Choose INITIAL SYNC when asked, so the editor and the Orvo start from the same Program.\n",
    "  6. Turn on MIDI IN in the MONITOR to see what the Orvo sends.\n",
    "  7. Move a knob on the Orvo: the matching control in the editor follows.\n",
    "  8. Turn on MIDI OUT in the MONITOR to see what the editor sends.\n",
    "  9. Move a software knob, slider, toggle, or button to transmit NRPN back to the Orvo.\n\n",
};

MidiConnection::MidiConnection (EditorEngine& e, MidiDevices& d) : engine (e), devices (d) {}

MidiConnection::~MidiConnection()
{
    closeAll();
}

void MidiConnection::closeAll()
{
    controller.reset();
    input.reset();
    engine.setOutput (nullptr);
}

int MidiConnection::matchRemembered (const std::vector<MidiDeviceInfo>& list, const std::string& identifier,
                                     const std::string& name)
{
    if (!identifier.empty())
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].identifier == identifier)
                return (int)i + 1;
    if (!name.empty())
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].name == name)
                return (int)i + 1;
    return 0;
}

void MidiConnection::scan (bool reconnectRemembered)
{
    inputs = devices.inputs();
    outputs = devices.outputs();
    scanned = true;

    std::string report = "MIDI Inputs:\n";
    for (size_t i = 0; i < inputs.size(); ++i)
        report +=
            "  [" + std::to_string (i + 1) + "] " + inputs[i].name + "\n      ID: " + inputs[i].identifier + "\n\n";
    if (inputs.empty())
        report += "  No MIDI input devices found.\n";
    report += "\nMIDI Outputs:\n";
    for (size_t i = 0; i < outputs.size(); ++i)
        report +=
            "  [" + std::to_string (i + 1) + "] " + outputs[i].name + "\n      ID: " + outputs[i].identifier + "\n\n";
    if (outputs.empty())
        report += "  No MIDI output devices found.\n";
    report += "\nInstructions:\n";
    for (const auto* line : instructionLines)
        report += line;
    log (report);

    const auto& s = engine.settings();
    inputChoice = matchRemembered (inputs, s.inputIdentifier, s.inputName);
    outputChoice = matchRemembered (outputs, s.outputIdentifier, s.outputName);
    controllerChoice = matchRemembered (inputs, s.controllerInputIdentifier, s.controllerInputName);

    log ("Auto-connecting MIDI controller input...\n");
    if (controllerChoice > 0)
        openControllerInput();
    else
        log ("Previously opened MIDI controller input was not found for auto-connect.\n\n");

    if (!autoConnectDone)
    {
        autoConnectDone = true;
        if (reconnectRemembered)
            autoConnect();
    }

    status = "MIDI DEVICE SCAN\nDevice list refreshed.\n\nInputs found: " + std::to_string (inputs.size()) +
             "\nOutputs found: " + std::to_string (outputs.size()) +
             "\n\nSelect the Orvo input and output above, then open each port when you are ready.";
}

void MidiConnection::autoConnect()
{
    const auto& s = engine.settings();
    if ((s.inputIdentifier.empty() && s.inputName.empty()) || (s.outputIdentifier.empty() && s.outputName.empty()))
    {
        log ("No saved Orvo MIDI ports. Select the MIDI input and output connected to your Orvo, then open both "
             "ports.\n\n");
        return;
    }
    const int in = matchRemembered (inputs, s.inputIdentifier, s.inputName);
    const int out = matchRemembered (outputs, s.outputIdentifier, s.outputName);
    if (in == 0 && out == 0)
    {
        log ("Previously opened Orvo MIDI ports were not found for auto-connect.\n\n");
        notice ("The previously opened Orvo MIDI ports were not found. Select the correct MIDI input and output, then "
                "open both ports.");
        return;
    }
    log ("Auto-connecting saved Orvo MIDI ports...\n");
    if (in > 0)
    {
        inputChoice = in;
        openInput();
    }
    else
        log ("Previously opened Orvo MIDI input was not found.\n");
    if (out > 0)
    {
        outputChoice = out;
        openOutput();
    }
    else
        log ("Previously opened Orvo MIDI output was not found.\n");
    log ("\n");
    if (in == 0 || out == 0)
        notice ("One previously opened Orvo MIDI port was found, but the matching input/output pair is incomplete. "
                "Check the MIDI selections.");
}

void MidiConnection::notice (const std::string& text)
{
    engine.services().prompts.showChoice ("Orvo MIDI Setup", text, { "OK" }, nullptr);
}

void MidiConnection::chooseInput (int id)
{
    if (id < 1 || id > (int)inputs.size())
        return;
    inputChoice = id;
    log ("Selected MIDI input: " + inputs[(size_t)id - 1].name + ".\n");
}

void MidiConnection::chooseOutput (int id)
{
    if (id < 1 || id > (int)outputs.size())
        return;
    outputChoice = id;
    log ("Selected MIDI output: " + outputs[(size_t)id - 1].name + ".\n");
}

void MidiConnection::chooseController (int id)
{
    if (id >= 0 && id <= (int)inputs.size())
        controllerChoice = id;
}

void MidiConnection::openInput()
{
    if (inputChoice < 1 || inputChoice > (int)inputs.size())
    {
        log ("No MIDI input selected.\n");
        return;
    }
    const auto device = inputs[(size_t)inputChoice - 1];
    input.reset();
    current.inputId.clear();
    current.inputName.clear();
    input = devices.openInput (device.identifier, [this] (const std::uint8_t* data, size_t size)
                               { engine.handleIncomingMidi (data, size, false); });
    if (input == nullptr)
    {
        log ("Could not open MIDI input: " + device.name + "\n");
        status = "MIDI INPUT\nCould not open the selected Orvo input.\n\nCheck the selected device and try again.";
        return;
    }
    current.inputId = device.identifier;
    current.inputName = device.name;
    log ("Opened MIDI input: " + device.name + "\n" + "Move a mapped Orvo control.\n\n");
    status = "MIDI INPUT\nOpened selected Orvo input:\n" + device.name +
             "\n\nInput receives knob, button, and NRPN changes from the Kestrine.";
    if (onModeUnknown)
        onModeUnknown();
    initialSyncCheck();
}

void MidiConnection::openOutput()
{
    if (outputChoice < 1 || outputChoice > (int)outputs.size())
    {
        log ("No MIDI output selected.\n");
        return;
    }
    const auto device = outputs[(size_t)outputChoice - 1];
    engine.setOutput (nullptr);
    current.outputId.clear();
    current.outputName.clear();
    auto out = devices.openOutput (device.identifier);
    if (out == nullptr)
    {
        log ("Could not open MIDI output: " + device.name + "\n");
        status = "MIDI OUTPUT\nCould not open the selected Orvo output.\n\nCheck the selected device and try again.";
        return;
    }
    engine.setOutput (std::move (out));
    current.outputId = device.identifier;
    current.outputName = device.name;
    log ("Opened MIDI output: " + device.name + "\n\n");
    status = "MIDI OUTPUT\nOpened selected Orvo output:\n" + device.name +
             "\n\nOutput sends editor changes back to the Kestrine.";
    initialSyncCheck();
}

void MidiConnection::openControllerInput()
{
    if (controllerChoice < 1 || controllerChoice > (int)inputs.size())
    {
        log ("No MIDI controller input selected.\n");
        return;
    }
    const auto device = inputs[(size_t)controllerChoice - 1];
    controller.reset();
    controller = devices.openInput (device.identifier, [this] (const std::uint8_t* data, size_t size)
                                    { engine.handleIncomingMidi (data, size, true); });
    if (controller == nullptr)
    {
        log ("Could not open MIDI controller input: " + device.name + "\n");
        status = "MIDI CONTROLLER\nCould not open the selected controller input.\n\nCheck the selected device and try "
                 "again.";
        return;
    }
    static const char* modes[] = { "AUTO", "CC 7-BIT", "CC 14-BIT", "NRPN", "RPN" };
    auto& s = engine.settings();
    const int mode = std::clamp (s.controllerDecodeMode, 1, 5);
    log ("Opened MIDI controller input: " + device.name + " on channel " + channelText (s.controllerListenChannel) +
         " in " + modes[mode - 1] + " mode" + ".\n\n");
    s.controllerInputIdentifier = device.identifier;
    s.controllerInputName = device.name;
    if (onRememberedPortsChanged)
        onRememberedPortsChanged();
    status = "MIDI CONTROLLER\nOpened selected controller input:\n" + device.name +
             "\n\nUse MIDI CONTROL in the sidebar to learn mappings.";
}

void MidiConnection::openVirtualController()
{
    if (!scanned)
    {
        inputs = devices.inputs();
        outputs = devices.outputs();
        scanned = true;
    }
    controllerChoice = matchRemembered (inputs, VirtualController::inputIdentifier, {});
    openControllerInput();
}

void MidiConnection::openVirtualOrvo()
{
    if (!scanned)
    {
        inputs = devices.inputs();
        outputs = devices.outputs();
        scanned = true;
    }
    inputChoice = matchRemembered (inputs, VirtualOrvo::inputIdentifier, {});
    outputChoice = matchRemembered (outputs, VirtualOrvo::outputIdentifier, {});
    openInput();
    openOutput();
}

void MidiConnection::initialSyncCheck()
{
    if (engine.settings().diagnosticMode || promptedFor == current || input == nullptr || !engine.hasOutput())
        return;
    const auto& s = engine.settings();
    const bool changed = current.inputId != s.inputIdentifier || current.inputName != s.inputName ||
                         current.outputId != s.outputIdentifier || current.outputName != s.outputName;
    promptedFor = current;
    if (onModeUnknown)
        onModeUnknown();

    std::string message;
    if (changed)
        message =
            "The Orvo MIDI connection is different from the last opened ports.\n\nPrevious input: " + s.inputName +
            "\nCurrent input: " + current.inputName + "\n\nPrevious output: " + s.outputName +
            "\nCurrent output: " + current.outputName + "\n\n";
    message +=
        "Initial Sync will switch the Orvo to PROGRAM mode so the editor and synthesizer begin from a known state.\n\n"
        "It will not load or store a different Program. The editor will read the active Program bank, Program number, "
        "and live edit buffer.";
    log (changed ? "Orvo MIDI connection changed. Initial sync is required to establish Program mode and bank state.\n"
                 : "Orvo MIDI ports are ready. Initial sync is required to establish Program mode and bank state.\n");

    engine.services().prompts.showChoice (
        "Initial Orvo Sync", message, { "INITIAL SYNC", "NOT NOW" },
        [this] (int choice)
        {
            if (input != nullptr && engine.hasOutput())
            {
                auto& settings = engine.settings();
                settings.inputIdentifier = current.inputId;
                settings.inputName = current.inputName;
                settings.outputIdentifier = current.outputId;
                settings.outputName = current.outputName;
                if (onRememberedPortsChanged)
                    onRememberedPortsChanged();
            }
            if (choice == 0)
            {
                if (onInitialSync)
                    onInitialSync();
                else
                    log ("Initial Orvo sync chosen; reading the Orvo is not available in this version yet.\n");
            }
            else
                log ("Initial Orvo sync deferred. Orvo mode remains unknown until sync or an editor bank/program "
                     "selection establishes it.\n");
        });
}

} // namespace orvo
