#include "common/Random.h"

namespace tc {

namespace {
std::uint32_t s_randomState = 1;
}

void SeedRandom(std::uint32_t seed) { s_randomState = seed; }

int Random() {
    s_randomState = s_randomState * 214013u + 2531011u;
    return static_cast<int>((s_randomState >> 16) & 0x7FFF);
}

int RandomIndex(int count) {
    if (count <= 0) return -1;
    const int range = count > 32767 ? 32768 : count;
    return Random() % range;
}

}  // namespace tc
