// The main screen: the wolves' header, the phase prompt, the ten player cards, the cursor
// mark, the newest log line, and in phases 5 and 8 the result panels. Drawing only reads
// the game: it may run any number of times, in either language.
#pragma once

#include <cstdint>

#include "draw/screen.hpp"
#include "model/game.hpp"
#include "model/texts.hpp"

// Redraws the whole screen of the game in a language (LANGUAGE_...).
void render(const Game& game, int language, Screen& screen);

// One player card with its top left corner at (x, y).
void draw_card(const Game& game, const Texts& texts, Screen& screen, const Player& p, int x, int y);

// The text of a log line in a table, at most LOG_LINE_BYTES - 1 bytes, never cut inside a
// double-byte character; empty for an empty line.
void log_text(const Texts& texts, const LogLine& line, char (&text)[LOG_LINE_BYTES]);

// Column and row of the top left corner of a seat's card.
inline constexpr int card_x(int seat) { return (seat % 5) * 15 + 2; }
inline constexpr int card_y(int seat) { return (seat / 5) * 7 + 2; }
inline constexpr int CARD_WIDTH = 14;
inline constexpr int CARD_HEIGHT = 6;
inline constexpr int LOG_X = 2;
inline constexpr int LOG_Y = 23;
