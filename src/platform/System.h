// Facts about the running process and the clock.
#pragma once

#include <cstdint>
#include <string>

namespace tc {

class SystemServices {
public:
    virtual ~SystemServices() = default;

    // Full path of the running program file.
    virtual std::string ModuleFileName() = 0;

    // Seconds since 1970, for seeding the random generator.
    virtual std::int64_t TimeSeconds() = 0;

    // Milliseconds since some start; wraps around after about 49 days.
    virtual std::uint32_t TickMilliseconds() = 0;
};

}  // namespace tc
