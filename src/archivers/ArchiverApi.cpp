#include "archivers/ArchiverApi.h"

#include <algorithm>
#include <cstring>

namespace tc::archivers {

bool OffersFunction(int number) {
    static constexpr int kOffered[] = {0, 1, 8, 16, 18, 19, 23, 24, 25, 26, 40, 41, 42, 57, 58, 61, 62, 64, 67, 101, 102};
    return std::find(std::begin(kOffered), std::end(kOffered), number) != std::end(kOffered);
}

std::uint32_t DosDateTime(std::int64_t seconds) {
    constexpr std::int64_t k1980 = 315532800;
    if (seconds < k1980) seconds = k1980;
    std::int64_t days = seconds / 86400;
    const std::int64_t rest = seconds % 86400;
    // Civil date from days since 1970 (Howard Hinnant's algorithm).
    days += 719468;
    const std::int64_t era = days / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const std::int64_t clampedYear = std::min<std::int64_t>(year, 2107);
    const auto date = static_cast<std::uint32_t>(((clampedYear - 1980) << 9) | (month << 5) | day);
    const auto time = static_cast<std::uint32_t>(((rest / 3600) << 11) | (((rest / 60) % 60) << 5) | ((rest % 60) / 2));
    return (date << 16) | time;
}

void CopyOut(const std::string& text, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return;
    const std::size_t count = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
}

}  // namespace tc::archivers
