#include "JuceMidiDevices.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <condition_variable>
#include <deque>
#include <thread>

namespace orvo
{
namespace
{
std::vector<MidiDeviceInfo> toInfos (const juce::Array<juce::MidiDeviceInfo>& devices)
{
    std::vector<MidiDeviceInfo> out;
    for (const auto& d : devices)
        out.push_back ({ d.name.toStdString(), d.identifier.toStdString() });
    return out;
}

class JuceInputConnection final : public MidiInputConnection, private juce::MidiInputCallback
{
public:
    JuceInputConnection (const juce::String& identifier, orvo::MidiInputCallback cb) : callback (std::move (cb))
    {
        input = juce::MidiInput::openDevice (identifier, this);
        if (input != nullptr)
            input->start();
    }

    ~JuceInputConnection() override
    {
        if (input != nullptr)
            input->stop();
    }

    bool isOpen() const { return input != nullptr; }
    std::string name() const override { return input != nullptr ? input->getName().toStdString() : std::string(); }

private:
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& m) override
    {
        callback (m.getRawData(), (size_t) m.getRawDataSize());
    }

    orvo::MidiInputCallback callback;
    std::unique_ptr<juce::MidiInput> input;
};

class JuceOutputConnection final : public MidiOutputConnection
{
public:
    explicit JuceOutputConnection (std::unique_ptr<juce::MidiOutput> out) : output (std::move (out))
    {
        portName = output->getName().toStdString();
        worker = std::thread ([this] { run(); });
    }

    ~JuceOutputConnection() override
    {
        {
            std::lock_guard<std::mutex> lock (mutex);
            stopping = true;
        }
        wake.notify_one();
        worker.join();
    }

    std::string name() const override { return portName; }

    bool send (const std::uint8_t* data, size_t size) override
    {
        if (size == 0)
            return false;
        {
            std::lock_guard<std::mutex> lock (mutex);
            queue.emplace_back (data, data + size);
        }
        wake.notify_one();
        return true;
    }

private:
    void run()
    {
        for (;;)
        {
            std::vector<std::uint8_t> message;
            {
                std::unique_lock<std::mutex> lock (mutex);
                wake.wait (lock, [this] { return stopping || ! queue.empty(); });
                if (queue.empty())
                    return;
                message = std::move (queue.front());
                queue.pop_front();
            }
            output->sendMessageNow (juce::MidiMessage (message.data(), (int) message.size()));
        }
    }

    std::unique_ptr<juce::MidiOutput> output;
    std::string portName;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::vector<std::uint8_t>> queue;
    bool stopping = false;
    std::thread worker;
};
} // namespace

std::vector<MidiDeviceInfo> JuceMidiDevices::inputs() { return toInfos (juce::MidiInput::getAvailableDevices()); }

std::vector<MidiDeviceInfo> JuceMidiDevices::outputs() { return toInfos (juce::MidiOutput::getAvailableDevices()); }

std::unique_ptr<MidiInputConnection> JuceMidiDevices::openInput (const std::string& identifier, MidiInputCallback callback)
{
    auto connection = std::make_unique<JuceInputConnection> (juce::String (identifier), std::move (callback));
    if (! connection->isOpen())
        return nullptr;
    return connection;
}

std::unique_ptr<MidiOutputConnection> JuceMidiDevices::openOutput (const std::string& identifier)
{
    auto out = juce::MidiOutput::openDevice (juce::String (identifier));
    if (out == nullptr)
        return nullptr;
    return std::make_unique<JuceOutputConnection> (std::move (out));
}

} // namespace orvo
