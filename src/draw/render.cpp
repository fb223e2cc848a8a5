#include "draw/render.hpp"

#include <algorithm>
#include <cstdio>

#include "draw/panels.hpp"
#include "engine/morning.hpp"
#include "model/sjis.hpp"

namespace {

const char* phase_prompt(const Texts& t, int phase) {
    return phase >= 0 && phase < PHASE_COUNT ? t.prompts[phase] : nullptr;
}

// A living wolf is red, a claimed madman magenta, a claimed seer or medium cyan; the
// dead are grey whatever they were.
void set_card_colour(const Game& game, Screen& screen, const Player& p) {
    if (p.role == ROLE_WOLF) {
        screen_set_attr(screen, ATTR_BRIGHT_RED);
    } else if (game.co_public[p.seat] == ROLE_MADMAN) {
        screen_set_attr(screen, ATTR_BRIGHT_MAGENTA);
    } else if (game.co_public[p.seat] == ROLE_SEER || game.co_public[p.seat] == ROLE_MEDIUM) {
        screen_set_attr(screen, ATTR_BRIGHT_CYAN);
    }
    if (p.alive != 1) screen_set_attr(screen, ATTR_GREY);
}

// The wolf who votes next, or NONE.
int next_voter(const Game& game) {
    const int index = next_voter_index(game);
    return index < WOLF_SEATS ? game.wolf_seats[index] : NONE;
}

void draw_header(const Game& game, const Texts& t, Screen& screen) {
    screen_print(screen, t.wolves);
    for (const Player& p : game.players) {
        if (p.role == ROLE_WOLF) screen_printf(screen, t.wolf, name_of(t, p.seat));
    }
    screen_print(screen, "\n");
    // A prompt is given the day and the wolf about to vote; most use the day alone. Under
    // the rules with lies the morning asks a wolf, and names yesterday's hanged seat.
    const Question q = morning_question(game);
    if (q.kind != QUESTION_NONE) {
        screen_printf(screen, t.bluff_prompts[q.kind], game.day, name_of(t, q.wolf),
                      name_of(t, game.hanged_on[game.day - 1]));
    } else if (const char* prompt = phase_prompt(t, game.phase)) {
        screen_printf(screen, prompt, game.day, name_of(t, next_voter(game)));
    }
}

}  // namespace

void log_text(const Texts& t, const LogLine& line, char (&text)[LOG_LINE_BYTES]) {
    char whole[4 * LOG_LINE_BYTES] = "";
    if (line.kind == LOG_FOUND_DEAD)
        std::snprintf(whole, sizeof whole, t.found_dead, name_of(t, line.seat));
    if (line.kind == LOG_HANGED)
        std::snprintf(whole, sizeof whole, t.was_hanged, name_of(t, line.seat));
    if (line.kind == LOG_ATTACK_FAILED) std::snprintf(whole, sizeof whole, "%s", t.attack_failed);
    // Texts are at most 99 bytes; a longer one is cut rather than overrunning the line,
    // and never in the middle of a double-byte character.
    const auto* bytes = reinterpret_cast<const unsigned char*>(whole);
    const std::size_t all = std::char_traits<char>::length(whole);
    std::size_t length = 0;
    while (length < all) {
        const std::size_t step =
            std::max<std::size_t>(sjis::char_length(bytes + length, all - length), 1);
        if (length + step > LOG_LINE_BYTES - 1) break;
        length += step;
    }
    std::copy(whole, whole + length, text);
    text[length] = '\0';
}

void draw_card(const Game& game, const Texts& t, Screen& screen, const Player& p, int x, int y) {
    const int seat = p.seat;
    set_card_colour(game, screen, p);
    screen_move(screen, x, y);
    screen_printf(screen, "%d", seat);
    screen_move(screen, x + 2, y);
    screen_print(screen, "─────┐"_sj);
    screen_move(screen, x, y + 1);
    screen_printf(screen, t.card_name, name_of(t, seat));
    screen_move(screen, x, y + 2);
    screen_printf(screen, t.card_claim, role_glyph(t, game.co_public[seat]));
    screen_move(screen, x, y + 3);
    screen_printf(screen, t.card_counts, game.black_count[seat], game.white_count[seat]);
    screen_move(screen, x, y + 4);
    if (p.alive == 1) {
        screen_printf(screen, t.card_blank, "");
    } else if (p.attacked_day != NONE) {
        screen_printf(screen, t.card_killed, p.attacked_day);
    } else if (p.hanged_day != NONE) {
        screen_printf(screen, t.card_hanged, p.hanged_day);
    }
    screen_move(screen, x, y + 5);
    screen_print(screen, "└─────┘"_sj);
    if (game.winner != NONE) {  // the true role, over the top border
        screen_move(screen, x + 10, y);
        screen_print(screen, role_glyph(t, p.role));
    }
}

void render(const Game& game, int language, Screen& screen) {
    const Texts& t = texts_of(language);
    screen_move(screen, 0, 0);
    screen_set_attr(screen, ATTR_BRIGHT_WHITE);
    screen_clear(screen);
    draw_header(game, t, screen);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        screen_set_attr(screen, ATTR_BRIGHT_WHITE);
        draw_card(game, t, screen, game.players[seat], card_x(seat), card_y(seat));
    }
    screen_set_attr(screen, ATTR_BRIGHT_GREEN);
    screen_move(screen, card_x(game.cursor) - 1, card_y(game.cursor));
    screen_print(screen, ">");
    screen_set_attr(screen, ATTR_BRIGHT_WHITE);
    screen_move(screen, LOG_X, LOG_Y);
    char log[LOG_LINE_BYTES];
    log_text(t, game.log[0], log);
    screen_print(screen, log);
    screen_set_attr(screen, ATTR_BRIGHT_WHITE);
    if (game.phase == PHASE_CLAIM_RESULTS) draw_claim_panel(game, t, screen);
    if (game.phase == PHASE_VOTE_RESULTS) draw_vote_panel(game, t, screen);
}
