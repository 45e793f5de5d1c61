#include "Wait.h"

namespace e2e {

namespace {
constexpr DWORD kPollMilliseconds = 20;
}  // namespace

::testing::AssertionResult WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, const std::string& what) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return ::testing::AssertionSuccess();
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) {
            return ::testing::AssertionFailure() << "waited " << waited << " ms in vain for " << what;
        }
        Sleep(kPollMilliseconds);
    }
}

RECT WaitForRect(HWND window, const std::function<bool(const RECT&)>& done, const std::string& what) {
    RECT r{};
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(window, &r);
            return done(r);
        },
        kShowTimeout, what));
    return r;
}

::testing::AssertionResult NeverWithin(const std::function<bool()>& happened, DWORD periodMs,
                                       const std::string& what) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (happened()) {
            return ::testing::AssertionFailure() << what << " after " << GetTickCount() - start << " ms";
        }
        if (GetTickCount() - start >= periodMs) return ::testing::AssertionSuccess();
        Sleep(kPollMilliseconds);
    }
}

}  // namespace e2e
