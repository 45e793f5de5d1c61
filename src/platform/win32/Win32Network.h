// The Win32 back end of the loopback door (Win32Network.cpp: Winsock).
#pragma once

#include "platform/Network.h"

namespace tc {

class Win32Network : public Network {
public:
    std::unique_ptr<Door> OpenLoopbackDoor(int port, const DoorBounds& bounds, DoorHandler handler) override;
};

}  // namespace tc
