#include "engine/run_game.hpp"

int main() {
    run_game();
    return 0;
}
