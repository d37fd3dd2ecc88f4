#include "InstanceChannel.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace orvo
{
namespace
{
/** An abstract address: a leading zero byte, then the name, no terminator. */
bool makeAddress (const std::string& name, sockaddr_un& address, socklen_t& length)
{
    std::memset (&address, 0, sizeof (address));
    address.sun_family = AF_UNIX;
    if (name.empty() || name.size() + 1 > sizeof (address.sun_path))
        return false;
    std::memcpy (address.sun_path + 1, name.data(), name.size());
    length = (socklen_t)(offsetof (sockaddr_un, sun_path) + 1 + name.size());
    return true;
}

void closeFd (int& fd)
{
    if (fd >= 0)
        ::close (fd);
    fd = -1;
}

/** A reply that never comes must not hold either side for long. */
void setTimeouts (int fd, int ms)
{
    timeval tv{ ms / 1000, (ms % 1000) * 1000 };
    ::setsockopt (fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof (tv));
    ::setsockopt (fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof (tv));
}

bool fromThisUser (int fd)
{
    ucred peer{};
    socklen_t size = sizeof (peer);
    return ::getsockopt (fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

const char acknowledgement = '\n';
} // namespace

InstanceChannel::InstanceChannel (std::string channelName) : name (std::move (channelName)) {}

InstanceChannel::~InstanceChannel()
{
    if (server.joinable())
    {
        const char stop = 0;
        [[maybe_unused]] const auto written = ::write (wakeFds[1], &stop, 1);
        server.join();
    }
    closeFd (listenFd);
    closeFd (wakeFds[0]);
    closeFd (wakeFds[1]);
}

bool InstanceChannel::listen (std::function<void (const std::string&)> onMessage)
{
    sockaddr_un address;
    socklen_t length = 0;
    if (listenFd >= 0 || !makeAddress (name, address, length))
        return false;
    // Binding is the claim: it fails while another process holds the name.
    listenFd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd < 0 || ::bind (listenFd, (const sockaddr*)&address, length) != 0 || ::listen (listenFd, 8) != 0 ||
        ::pipe2 (wakeFds, O_CLOEXEC) != 0)
    {
        closeFd (listenFd);
        return false;
    }
    handler = std::move (onMessage);
    server = std::thread ([this] { serve(); });
    return true;
}

void InstanceChannel::serve()
{
    for (;;)
    {
        pollfd fds[2] = { { listenFd, POLLIN, 0 }, { wakeFds[0], POLLIN, 0 } };
        if (::poll (fds, 2, -1) < 0)
        {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        int client = ::accept4 (listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        if (!fromThisUser (client))
        {
            closeFd (client);
            continue;
        }
        setTimeouts (client, 1000);
        std::string message;
        char buffer[4096];
        while (message.size() < maxMessageBytes)
        {
            const auto got = ::recv (client, buffer, sizeof (buffer), 0);
            if (got <= 0)
                break;
            message.append (buffer, (std::size_t)got);
        }
        message.resize (std::min (message.size(), maxMessageBytes));
        if (handler)
            handler (message);
        [[maybe_unused]] const auto sent = ::send (client, &acknowledgement, 1, MSG_NOSIGNAL);
        closeFd (client);
    }
}

bool InstanceChannel::send (const std::string& channelName, const std::string& message, int timeoutMs)
{
    sockaddr_un address;
    socklen_t length = 0;
    if (!makeAddress (channelName, address, length))
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);
    for (;;)
    {
        int fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        setTimeouts (fd, std::max (timeoutMs, 100));
        if (::connect (fd, (const sockaddr*)&address, length) == 0)
        {
            bool ok = ::send (fd, message.data(), message.size(), MSG_NOSIGNAL) == (ssize_t)message.size();
            ::shutdown (fd, SHUT_WR);
            char reply = 0;
            ok = ok && ::recv (fd, &reply, 1, 0) == 1 && reply == acknowledgement;
            closeFd (fd);
            return ok;
        }
        closeFd (fd);
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // The name's holder may have claimed it a moment ago and not be listening yet.
        std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }
}

std::string InstanceChannel::sessionName()
{
    std::string display;
    for (const char* variable : { "DISPLAY", "WAYLAND_DISPLAY" })
        if (const char* value = std::getenv (variable); value != nullptr && *value != 0)
        {
            display = value;
            break;
        }
    std::string session;
    for (const char c : display)
        session += std::isalnum ((unsigned char)c) ? c : '_';
    return "orvo-editor-" + std::to_string (::getuid()) + "-" + (session.empty() ? "console" : session);
}

} // namespace orvo
