// The one random number generator of the system. It is the classic linear congruential
// generator of the C runtime (values 0 to 32767), written out here so that every build,
// whatever its compiler, draws the same numbers from the same seed; tests seed it.
#pragma once

#include <cstdint>

namespace tc {

void SeedRandom(std::uint32_t seed);

// Next value, 0 to 32767.
int Random();

// -1 when count is 0 or less; otherwise a fresh random number modulo count, where a count
// above 32767 counts as 32768.
int RandomIndex(int count);

}  // namespace tc
