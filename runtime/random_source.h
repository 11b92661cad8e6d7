#pragma once

#include <cstdint>

#include <pcg_random.hpp>

namespace versomat {

// The one pseudo-random sequence behind every poem. It starts from the same
// fixed state in every run, so identical clicks give identical poems until
// the user asks for a random start.
class RandomSource {
public:
    RandomSource() = default;

    // Next draw r, a single with 0 <= r < 1: the top 24 bits of the 32-bit
    // output scaled by 2^-24, so every value is exact and 1 is never reached.
    float next() { return static_cast<float>(m_engine() >> 8) * 0x1p-24f; }

    // Restarts the sequence from a seed of the caller's choosing (tests).
    void reseed(std::uint64_t seed);

    // Restarts the sequence from the system clock's nanoseconds.
    void reseedFromClock();

private:
    pcg32 m_engine{42u, 54u};
};

} // namespace versomat
