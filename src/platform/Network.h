// A door that other programs on this computer knock at: a TCP port on the loopback interface
// only, one request and its answer per connection. The back end runs it on the thread that
// opened it, with non-blocking sockets whose events arrive as window messages, so a request is
// handled between the window's other messages and a slow or silent client never blocks it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tc {

struct DoorBounds {
    int maxConnections = 8;                // a connection beyond these is closed at once
    std::size_t maxRequestBytes = 65536;   // no more is read from one connection
    int timeLimitMs = 2000;                // a connection is closed this long after it came
};

// What to do with the bytes a connection brought so far: nothing yet (wait for more), or the
// answer to send before the connection is closed (empty: closed without one). ended: nothing
// more will come (the client closed its side, or the request reached its size bound).
using DoorHandler = std::function<std::optional<std::string>(std::string_view received, bool ended)>;

// The open door; destroying it closes the port and every connection.
class Door {
public:
    virtual ~Door() = default;
};

class Network {
public:
    virtual ~Network() = default;
    // Listens on 127.0.0.1:port; nothing when the port is taken or there are no sockets.
    virtual std::unique_ptr<Door> OpenLoopbackDoor(int port, const DoorBounds& bounds, DoorHandler handler) = 0;
};

}  // namespace tc
