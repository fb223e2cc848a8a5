#include "model/game.hpp"

#include <algorithm>
#include <cstring>

#include "model/sjis.hpp"
#include "model/texts.hpp"

const char* character_name(int seat) { return is_seat(seat) ? texts().names[seat] : ""; }

void clear_night_records(Game& game) {
    constexpr NightRecord none = {NONE, NONE, NONE, NONE};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        for (int day = 0; day < DAY_SLOTS; ++day) {
            game.claims[seat][day] = none;
            game.players[seat].night[day] = none;
        }
    }
}

void reset_game(Game& game) {
    game = Game{};
    clear_night_records(game);
}

Game* create_game() {
    Game* game = new Game{};
    reset_game(*game);
    return game;
}

void push_log(Game& game, const char* text) {
    for (int line = LOG_LINES - 1; line > 0; --line) {
        std::memcpy(game.log[line], game.log[line - 1], LOG_LINE_BYTES);
    }
    // Texts are at most 99 bytes; a longer one is cut rather than overrunning the line,
    // and never in the middle of a double-byte character.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t all = std::strlen(text);
    std::size_t length = all;
    if (length > LOG_LINE_BYTES - 1) {
        length = 0;
        for (;;) {
            const std::size_t step =
                std::max<std::size_t>(sjis::char_length(bytes + length, all - length), 1);
            if (length + step > LOG_LINE_BYTES - 1) break;
            length += step;
        }
    }
    std::memcpy(game.log[0], text, length);
    game.log[0][length] = '\0';
}
