// Ownership of window-system objects (bitmaps, regions) made through the WindowSystem: the
// object is deleted when its owner goes away or takes another one.
#pragma once

#include <utility>

#include "platform/Platform.h"

namespace tc {

class OwnedObject {
public:
    OwnedObject() = default;
    OwnedObject(WindowSystem& windows, NativeHandle handle) : m_windows(&windows), m_handle(handle) {}
    ~OwnedObject() { Reset(); }
    OwnedObject(OwnedObject&& other) noexcept
        : m_windows(other.m_windows), m_handle(std::exchange(other.m_handle, 0)) {}
    OwnedObject& operator=(OwnedObject&& other) noexcept {
        if (this != &other) {
            Reset();
            m_windows = other.m_windows;
            m_handle = std::exchange(other.m_handle, 0);
        }
        return *this;
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;

    NativeHandle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != 0; }
    void Reset() {
        if (m_handle && m_windows) m_windows->DeleteObject(m_handle);
        m_handle = 0;
    }

private:
    WindowSystem* m_windows = nullptr;
    NativeHandle m_handle = 0;
};

}  // namespace tc
