// The game's random source: a 32-bit linear congruential generator with a 15-bit output,
// the same on every platform and compiler, so that one seed replays one game. It is a
// plain value inside the game: a copy of the game copies it, and a copy can be given a
// fresh one.
#pragma once

#include <cstdint>

inline constexpr int RANDOM_MAX = 32767;

struct Random {
    std::uint32_t state;
};

// Seeds the generator; a game is dealt from the time in whole seconds.
void seed_random(Random& random, std::uint32_t seed);

inline constexpr std::uint32_t RANDOM_MULTIPLIER = 214013u;
inline constexpr std::uint32_t RANDOM_INCREMENT = 2531011u;

// The output of a state.
constexpr int output_of(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

// The next output, 0..32767.
inline int random_output(Random& random) {
    random.state = random.state * RANDOM_MULTIPLIER + RANDOM_INCREMENT;
    return output_of(random.state);
}

// The next RUN states at once, each worked out from this one (state k+1 = a_k * state +
// c_k), so that a long run of draws need not wait for one multiplication after another.
// The random source is not moved: the caller sets it to the last state it used.
inline constexpr int RANDOM_RUN = 8;

struct RandomSteps {
    std::uint32_t a[RANDOM_RUN];
    std::uint32_t c[RANDOM_RUN];
};

constexpr RandomSteps random_steps() {
    RandomSteps steps{};
    std::uint32_t a = 1;
    std::uint32_t c = 0;
    for (int k = 0; k < RANDOM_RUN; ++k) {
        a *= RANDOM_MULTIPLIER;
        c = c * RANDOM_MULTIPLIER + RANDOM_INCREMENT;
        steps.a[k] = a;
        steps.c[k] = c;
    }
    return steps;
}

inline void next_states(const Random& random, std::uint32_t (&states)[RANDOM_RUN]) {
    constexpr RandomSteps STEPS = random_steps();
    for (int k = 0; k < RANDOM_RUN; ++k) states[k] = STEPS.a[k] * random.state + STEPS.c[k];
}

// The seed of today's village: the Unix time of 00:00:00 Japan Standard Time (UTC+9) of
// the day that unix_time falls on in Japan, so that everyone gets the same game on the
// same day there.
std::uint32_t daily_seed(std::int64_t unix_time);
