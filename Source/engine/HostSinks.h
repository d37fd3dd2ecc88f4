#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo
{

/** MIDI that arrives from a host transport instead of a hardware port. */
class HostMidiInputSink
{
public:
    virtual ~HostMidiInputSink() = default;
    virtual void receiveHostMidi (const std::uint8_t* data, size_t size) = 0;
};

/** A parameter change from a host, addressed by parameter key. */
class HostParameterInputSink
{
public:
    virtual ~HostParameterInputSink() = default;
    virtual void receiveHostParameter (const std::string& key, double value, int flags) = 0;
};

/** The editor state document a host saves with its session. */
class EditorStateSink
{
public:
    virtual ~EditorStateSink() = default;
    virtual std::string produceEditorState() = 0;
    virtual bool restoreEditorState (const std::string& document) = 0;
};

} // namespace orvo
