// What other processes share with this one: named mutexes, named shared-memory blocks and
// writes into another process's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tc {

// A named kernel object held open; closing it is destroying this object.
class NamedObject {
public:
    virtual ~NamedObject() = default;
};

// A shared-memory block published under a name; unmapped and closed when destroyed.
class SharedBlock {
public:
    virtual ~SharedBlock() = default;
    // Copies bytes into the block at offset; false when they do not fit or it is not mapped.
    virtual bool Write(std::size_t offset, std::string_view bytes) = 0;
};

class InterProcess {
public:
    virtual ~InterProcess() = default;

    // Creates (or opens) the named mutex. Nothing when it cannot be created; alreadyExisted
    // tells whether another holder had created it before.
    virtual std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) = 0;

    // Whether a named mutex exists (opened and closed again at once).
    virtual bool NamedMutexExists(const std::string& name) = 0;

    // The text of a named shared-memory block from byte offset on, up to its first NUL or
    // the end of the block, read under the named guard mutex when that exists (waiting a
    // short time at most); nothing when there is no such block.
    virtual std::optional<std::string> ReadSharedText(const std::string& name, const std::string& guardMutex,
                                                      std::size_t offset) = 0;

    // Creates a named shared-memory block of size bytes; nothing when it cannot be created.
    virtual std::unique_ptr<SharedBlock> CreateSharedBlock(const std::string& name, std::size_t size) = 0;

    // Writes bytes at address in the memory of process processId.
    virtual bool WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) = 0;

    // The number of the window message registered under name (the same in every process).
    virtual unsigned RegisterMessage(const std::string& name) = 0;

    // Sends bytes to the window target as WM_COPYDATA from sender, with tag as dwData. Gives
    // up after timeoutMs, or at once when target is hung; false when it was not delivered.
    // Messages sent to this process meanwhile are handled while it waits.
    virtual bool SendCopyData(NativeHandle target, NativeHandle sender, std::uintptr_t tag, std::string_view bytes,
                              int timeoutMs) = 0;

    // Sends a message to another program's window and returns its answer; nothing when the
    // window did not answer within timeoutMs (or is hung, or is no window).
    virtual std::optional<std::intptr_t> SendQuery(NativeHandle target, unsigned message, std::uintptr_t first,
                                                   std::intptr_t second, int timeoutMs) = 0;

    // Creates the mailslot ownSlot, writes message to the mailslot peerSlot, reads one answer
    // (waiting at most readTimeoutMs) and closes both. False when a step failed.
    virtual bool ExchangeMailslot(const std::string& ownSlot, const std::string& peerSlot, std::string_view message,
                                  int readTimeoutMs) = 0;
};

}  // namespace tc
