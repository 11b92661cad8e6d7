#pragma once

#include <cstdint>

namespace versomat {

// The one pseudo-random sequence behind every poem. It starts from the same
// fixed state in every run, so identical clicks give identical poems until
// the user asks for a random start.
//
// The engine is PCG32 (64-bit state, XSH RR output), stream 54, seed 42,
// written out here rather than taken from the pcg-cpp headers: those include
// <iostream>, whose stream set-up alone costs the window some 300 kB at start.
class RandomSource {
public:
    RandomSource() = default;

    // Next draw r, a single with 0 <= r < 1: the top 24 bits of the 32-bit
    // output scaled by 2^-24, so every value is exact and 1 is never reached.
    float next() { return static_cast<float>(nextBits() >> 8) * 0x1p-24f; }

    // Restarts the sequence from a seed of the caller's choosing (tests), on
    // the default stream.
    void reseed(std::uint64_t seed);

    // Restarts the sequence from the system clock's nanoseconds.
    void reseedFromClock();

    // Where the sequence stands: a copy moved there draws the same values
    // from then on. The increment is odd in every position a source takes.
    struct Position {
        std::uint64_t state = 0;
        std::uint64_t increment = 0;
        bool operator==(const Position&) const = default;
    };
    Position position() const { return {m_state, m_increment}; }
    // A position with an even increment is none a source can take; it is
    // refused and nothing changes.
    bool moveTo(Position position)
    {
        if ((position.increment & 1u) == 0)
            return false;
        m_state = position.state;
        m_increment = position.increment;
        return true;
    }

private:
    static constexpr std::uint64_t kMultiplier = 6364136223846793005u;
    static constexpr std::uint64_t kDefaultIncrement = 1442695040888963407u;

    std::uint64_t step(std::uint64_t state) const { return state * kMultiplier + m_increment; }

    // The output is taken from the state before the step.
    std::uint32_t nextBits()
    {
        const std::uint64_t old = m_state;
        m_state = step(m_state);
        const auto mixed = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rotation = static_cast<unsigned>(old >> 59u);
        return (mixed >> rotation) | (mixed << ((32u - rotation) & 31u));
    }

    void start(std::uint64_t seed) { m_state = step(seed + m_increment); }

    std::uint64_t m_increment = (54u << 1) | 1u;
    std::uint64_t m_state = step(42u + m_increment);
};

} // namespace versomat
