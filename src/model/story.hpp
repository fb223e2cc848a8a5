// The story of a game, day by day, told only from what the player has already seen on a
// screen: each night's attack (who was found dead, or that it failed), each morning's
// published claims with their results, each day's votes with the tally and the hanging
// once that day's vote-results screen has been left, and after a win the true roles.
// It reads the published claims, the filed claims and votes, the attacks, the hangings,
// the deaths, the day, the names, and the roles only once there is a winner: never a
// seat's own night record, nor a vote not yet filed.
#pragma once

#include <string>
#include <vector>

#include "model/game.hpp"
#include "model/texts.hpp"

inline constexpr int STORY_NOT_YET = -2;  // the night's attack has not happened

// One morning as the screens showed it.
struct StoryDay {
    int day;
    int attacked;           // last night's victim, NONE when the attack failed, or STORY_NOT_YET
    int attack_target;      // whom the wolves attacked last night, or NONE
    bool dawn;              // the game ended at this dawn: only last night is told
    int claim[SEAT_COUNT];  // the role a seat published this morning, or NONE
    int claim_target[SEAT_COUNT];  // the seat it named, or NONE
    int claim_result[SEAT_COUNT];  // VERDICT_WHITE, VERDICT_BLACK, or NONE
    bool voted;            // the votes were filed: they, the tally and the hanging are known
    int vote[SEAT_COUNT];  // by seat: whom it voted for, or NONE
    int hanged;            // NONE when nobody was
};

struct Story {
    int days;                 // StoryDay entries used: days 1 .. game.day
    StoryDay day[DAY_SLOTS];  // index 0 is day 1
    int winner;               // NONE while the game runs
    bool at_dawn;             // the wolves won by the night's attack, before the day's vote
    int role[SEAT_COUNT];     // the true roles once there is a winner, else NONE
};

// What the player has seen of the game so far.
Story story_of(const Game& game);

// The story as text in a language (Shift-JIS, lines ending in newlines).
std::string story_text(const Game& game, int language);

// A day as the story tells it: its heading (the night before, for a dawn that ended the
// game); what the morning showed (the attack, the claims); each vote; then the tally and
// the hanging.
struct ToldDay {
    std::string heading;
    std::vector<std::string> morning;
    std::vector<std::string> votes;
    std::vector<std::string> evening;
};
ToldDay told_day(const Texts& w, const StoryDay& t);
