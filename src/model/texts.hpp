// Every word the game shows, one table per language. The language is a choice of the
// drawing, never of the game: the same game draws in either. The screen's layout counts
// Shift-JIS bytes, and an English letter is one byte and one column, so the English table
// keeps every field's width: the cards, the panels and the cursor stand in the same
// columns and rows in both languages. The box lines are layout, not language: both tables
// draw the same ones.
#pragma once

#include "model/game.hpp"

inline constexpr int LANGUAGE_JAPANESE = 0;
inline constexpr int LANGUAGE_ENGLISH = 1;
inline constexpr int ROLE_COUNT = 6;
inline constexpr int PHASE_COUNT = 12;

struct Texts {
    const char* names[SEAT_COUNT];     // at most 10 bytes each
    const char* glyphs[ROLE_COUNT];    // by role code: two columns each
    const char* no_glyph;              // a claim not made, a role not known: two columns
    const char* wolves;                // the header: "the wolves are", then each wolf
    const char* wolf;                  // one wolf of the header, around its name
    const char* prompts[PHASE_COUNT];  // by phase, with the day; null for no prompt
    const char* card_name;             // the card's rows, 14 columns each
    const char* card_claim;
    const char* card_counts;
    const char* card_blank;
    const char* card_death;  // the day, then how
    const char* attacked;    // how, four columns
    const char* hanged;
    const char* found_dead;  // the log lines, with a name
    const char* attack_failed;
    const char* was_hanged;
    const char* claim_line;    // the claim panel: name and glyph of the claim
    const char* madman_call;   // the name the madman calls for
    const char* verdict_line;  // the name judged, then the verdict
    const char* black;         // the verdicts
    const char* white;
    const char* too_small;  // instead of the game while the window is too small
    // The story of a game, told afterwards.
    const char* story_day;               // a day's heading, with its number
    const char* story_vote;              // who voted for whom
    const char* story_tally;             // a seat and its votes
    const char* story_won[2];            // the village won, the wolves won, with the day
    const char* role_names[ROLE_COUNT];  // the true roles, in words
    const char* story_role;              // a name and its role
};

// The one-character glyph of a role code in a table; the no-claim glyph for -1 or
// anything unknown.
inline const char* role_glyph(const Texts& texts, int code) {
    return code >= 0 && code < ROLE_COUNT ? texts.glyphs[code] : texts.no_glyph;
}

// The table of a language (Japanese for any value but LANGUAGE_ENGLISH).
const Texts& texts_of(int language);

// The language named "ja" or "en", or -1.
int language_named(const char* name);
