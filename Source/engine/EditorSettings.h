#pragma once

#include <atomic>
#include <string>

namespace orvo
{

/** The editor's switches and choices. Values read by the MIDI thread are atomic. */
struct EditorSettings
{
    bool squareWidthFix52 = false;
    int envelopeTimeResponsiveness = 3; // 1..3
    int defaultPage = 5;                // 1..6, 6 = PERFORMANCE
    int defaultSidebarTop = 1;
    int defaultSidebarBottom = 2;
    int layoutColor = 1;     // 1..3
    int defaultLedColor = 1; // 1..4
    int lcdColor = 1;        // 1..3
    int lcdScreenType = 2;   // 1..2
    int valueBoxColor = 1;   // 1..3
    int dropdownMenuColor = 1;
    int programFont = 1; // 1..3
    bool diagnosticMode = false;
    bool unsavedWarnings = true;
    bool autoSaveTools = false;

    bool followIncomingMidi = true;
    /** Read written slots back after a transfer and compare them with what was sent. */
    bool verifyTransfers = true;
    bool sendChangesImmediately = true;

    /** The MONITOR's MIDI IN and MIDI OUT switches as last left. */
    bool midiInputMonitor = false, midiOutputMonitor = false;
    /** The main window's size as last left; 0 when none is remembered. */
    int windowWidth = 0, windowHeight = 0;

    /** Ports remembered between sessions, by identifier and by name. */
    std::string inputIdentifier, inputName, outputIdentifier, outputName;
    std::string controllerInputIdentifier, controllerInputName;
    int controllerListenChannel = 0; // 0 = OMNI
    int controllerDecodeMode = 1;    // 1..5: AUTO, 7-BIT CC, 14-BIT CC, NRPN, RPN

    std::atomic<int> inputListenChannel { 0 }; // 0 = OMNI
    std::atomic<int> outputSendChannel { 0 };

    /** Tab index of a default-page value (6 is PERFORMANCE, 1..5 the other tabs in order). */
    static int tabForDefaultPage (int value) { return value == 6 ? 0 : (value >= 1 && value <= 5 ? value : 0); }
    static int defaultPageForTab (int tab) { return tab == 0 ? 6 : tab; }
};

} // namespace orvo
