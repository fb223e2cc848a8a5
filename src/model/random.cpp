#include "model/random.hpp"

#include "model/game.hpp"

namespace {
std::uint32_t random_state = 1;
}

void seed_random(std::uint32_t seed) { random_state = seed; }

int random_output() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFFu);
}

int random_seat() { return random_output() % SEAT_COUNT; }

int percent_roll() { return random_output() % 100; }
