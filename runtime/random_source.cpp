#include "runtime/random_source.h"

#include <chrono>

namespace versomat {

void RandomSource::reseed(std::uint64_t seed)
{
    m_increment = kDefaultIncrement;
    start(seed);
}

void RandomSource::reseedFromClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    reseed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

} // namespace versomat
