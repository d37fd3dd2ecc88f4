#pragma once

#include "midi/MidiDevices.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"
#include "engine/EditorEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orvo::test
{

/** An engine in virtual time, with a recording output and the log collecting. */
struct EngineRig
{
    VirtualTime time;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    StringClipboard clipboard;
    EditorEngine engine { { time, time, prompts, dialogs, clipboard } };
    RecordingMidiOutput* output = nullptr;

    EngineRig()
    {
        auto out = std::make_unique<RecordingMidiOutput>();
        output = out.get();
        engine.setOutput (std::move (out));
        engine.setSidebarTool (SidebarModel::bottom, SidebarModel::monitor);
    }

    static int row (const char* id) { return *ParameterCatalogue::findById (id); }

    void receive (std::vector<std::uint8_t> bytes) { engine.handleIncomingMidi (bytes.data(), bytes.size()); }

    void receiveNrpn (int channel, int parameter, int value)
    {
        for (const auto& m : buildNrpnMessages (channel, parameter, value))
            engine.handleIncomingMidi (m.data(), m.size());
    }

    /** NRPNs found in what the output received, as (channel, parameter, value). */
    std::vector<std::array<int, 3>> sentNrpns()
    {
        std::vector<std::array<int, 3>> out;
        NrpnAssembler assembler;
        for (const auto& m : output->take())
            if (m.size() == 3 && (m[0] & 0xF0) == 0xB0)
                if (auto e = assembler.feed ((m[0] & 15) + 1, m[1], m[2]); e.complete)
                    out.push_back ({ e.channel, e.parameter, e.value });
        return out;
    }

    bool logContains (const std::string& text) { return engine.log().text().find (text) != std::string::npos; }
};

struct EngineFixture : ::testing::Test, EngineRig
{
};

} // namespace orvo::test
