// Ownership of window-system objects (bitmaps, regions) made through Painting: the
// object is deleted when its owner goes away or takes another one.
#pragma once

#include <utility>

#include "platform/Painting.h"

namespace tc {

class OwnedObject {
public:
    OwnedObject() = default;
    OwnedObject(Painting& painting, NativeHandle handle) : m_painting(&painting), m_handle(handle) {}
    ~OwnedObject() { Reset(); }
    OwnedObject(OwnedObject&& other) noexcept
        : m_painting(other.m_painting), m_handle(std::exchange(other.m_handle, 0)) {}
    OwnedObject& operator=(OwnedObject&& other) noexcept {
        if (this != &other) {
            Reset();
            m_painting = other.m_painting;
            m_handle = std::exchange(other.m_handle, 0);
        }
        return *this;
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;

    NativeHandle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != 0; }
    void Reset() {
        if (m_handle && m_painting) m_painting->DeleteObject(m_handle);
        m_handle = 0;
    }

private:
    Painting* m_painting = nullptr;
    NativeHandle m_handle = 0;
};

}  // namespace tc
