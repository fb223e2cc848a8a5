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
    // The coach's odds beside a choice, in the panel rows (with --coach), 36 columns at most:
    // a name, the chance in percent, the half-width of its 95% interval; a mark for the best.
    const char* odds_line;
    const char* odds_best;
    // The review of a game's choices, and the simulator's report.
    const char* review_game;           // a game's heading, with its number
    const char* review_attack;         // an attack, with the night
    const char* review_vote;           // a vote, with the day and the voting wolf
    const char* review_choice;         // a choice: a name, its chance and interval, in percent
    const char* review_chosen;         // the choice made
    const char* review_best;           // the best choice, where it was another
    const char* review_best_chosen;    // where the choice made was the best
    const char* review_marks[3];       // inaccuracy, mistake, blunder
    const char* review_accuracy;       // after a game: its accuracy, in percent
    const char* review_unfinished;     // a game not decided when the record ends
    const char* review_graph;          // the heading of the odds across the game
    const char* review_address;        // the page that shows the same review
    const char* simulate_policies[3];  // random, heuristic, coach
    const char* simulate_heading;      // the policy, the games and the first seed
    const char* simulate_won;          // the games won, the share and its interval
    const char* simulate_days;         // the mean last day
    const char* simulate_speed;        // games a second, threads
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
