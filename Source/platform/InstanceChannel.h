#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace orvo
{

/** One editor per desktop session. The first start claims a name in the abstract socket namespace
    and listens there; a later start finds the name taken and hands its message (the documents to
    open) to the first one instead of starting a second editor over the same library and ports. The
    name is no file: it dies with its process, so a crashed editor leaves nothing behind and never
    blocks the next start. Only the same user's messages are taken. */
class InstanceChannel
{
public:
    /** Messages longer than this are cut off: a hand-off is a few paths. */
    static constexpr std::size_t maxMessageBytes = 64 * 1024;

    explicit InstanceChannel (std::string name);
    ~InstanceChannel();

    /** Claims the name and starts listening. `onMessage` runs on the channel's own thread. False when
        another instance holds the name or the socket cannot be made. */
    bool listen (std::function<void (const std::string& message)> onMessage);

    /** Hands `message` to the listening instance and waits until it has taken it; false when nobody
        takes it within `timeoutMs`. */
    static bool send (const std::string& name, const std::string& message, int timeoutMs);

    /** The name for this user's desktop session: one per user and display. */
    static std::string sessionName();

private:
    void serve();

    std::string name;
    int listenFd = -1, wakeFds[2] = { -1, -1 };
    std::function<void (const std::string&)> handler;
    std::thread server;
};

} // namespace orvo
