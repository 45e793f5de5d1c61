// Bounded waits. Everything the program does answers a request some time later (a paint, a
// timer, a file, another process), so every check of such a result polls for the condition
// it needs, up to a bound, and names what it waited for when the bound passes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace e2e {

// Bounds generous enough for two busy cores; a passing check returns as soon as it holds.
inline constexpr DWORD kStartTimeout = 20000;  // a program start under Wine
inline constexpr DWORD kShowTimeout = 10000;   // a paint, a window change, a file
// A program's end: without a window manager, Wine waits up to 2 s for the X server each
// time it hides or destroys a window.
inline constexpr DWORD kEndTimeout = 30000;

// Polls done until it holds; fails after timeoutMs, naming what.
::testing::AssertionResult WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, const std::string& what);

// Waits until the window's rectangle satisfies done (failing the test after kShowTimeout,
// naming what); returns the last one seen.
RECT WaitForRect(HWND window, const std::function<bool(const RECT&)>& done, const std::string& what);

// For checks that something does not happen: polls happened for the whole period and fails
// as soon as it holds, naming what.
::testing::AssertionResult NeverWithin(const std::function<bool()>& happened, DWORD periodMs, const std::string& what);

}  // namespace e2e
