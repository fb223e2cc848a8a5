#include "platform/console.hpp"

namespace {

constinit Console the_console = {};

// The console is opened during static initialisation, before run_game starts.
struct ConsoleOpener {
    ConsoleOpener() { console_open(); }
};
const ConsoleOpener opener;

}  // namespace

Console& process_console() { return the_console; }
