// The command line, read before the terminal is touched; then the game.
#include <cstdlib>

#include "cli/messages.hpp"
#include "cli/options.hpp"
#include "console/console.hpp"
#include "engine/run_game.hpp"

int main(int argc, char** argv) {
    const Options options = parse_options(argc, argv, std::getenv("JINRO_LANG"));
    Console& console = process_console();
    const bool japanese = console_speaks_japanese(console);
    switch (options.action) {
    case ACTION_HELP: console_message(console, help_text(japanese), false); return EXIT_NORMAL;
    case ACTION_VERSION:
        console_message(console, version_text().c_str(), false);
        return EXIT_NORMAL;
    case ACTION_USAGE_ERROR:
        console_message(console, usage_error_text(options, japanese).c_str(), true);
        return EXIT_USAGE_ERROR;
    default: return run_game(options);
    }
}
