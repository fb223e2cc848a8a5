// The console on Linux, macOS and the BSDs: what the parts of the POSIX back end share.
// One record holds the state of the terminal; it is plain data, set up before any code
// runs, because the console opens during static initialisation.
#pragma once

#include <iconv.h>
#include <termios.h>

#include <csignal>
#include <cstddef>
#include <string>

#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/terminal_text.hpp"

struct Terminal {
    int in;
    int out;
    bool input_tty;
    bool output_tty;
    bool plain;  // frames as plain text: output is no terminal, or one without cursor addressing
    termios saved;
    termios raw;
    volatile sig_atomic_t raw_on;
    volatile sig_atomic_t screen_on;      // alternate screen entered, cursor hidden
    volatile sig_atomic_t writing_frame;  // a frame is on its way out: Ctrl-Z waits for it
    volatile sig_atomic_t stop_pending;   // Ctrl-Z came while a frame was being written
    volatile sig_atomic_t resized;
    volatile sig_atomic_t resumed;
    bool started;
    bool width_known;        // a cursor-position reply has told the ambiguous width
    bool too_small;          // the notice is up instead of the game
    int keys_before_notice;  // queued keys that came before the notice went up
    bool ended;              // input has ended
    bool failed;             // reading or writing failed
    TerminalView view;
    int encoding;        // OUTPUT_UTF8 or OUTPUT_SHIFT_JIS
    iconv_t to_locale;   // Shift-JIS to the locale's codeset, where that is neither
    int wake[2];         // self-pipe: signal handlers wake the key read; -1 without one
    PendingInput input;  // also keeps keys typed while the start-up probe waits
};

extern Terminal term;

// --- signals.cpp: giving the terminal back (async-signal-safe) --------------------------

// Leaves the game's screen, shows the cursor and restores the terminal's mode.
void restore_terminal();

// Ctrl-C, termination, hangup and quit give the terminal back and end the process; Ctrl-Z
// suspends it with the terminal given back. Signals that were ignored when the game
// started stay ignored.
void install_signal_handlers();

// Suspends the process now, the terminal given back, until it is continued.
void stop_now();

// Wakes a key read that waits in poll.
void wake_key_read();

// --- output.cpp ------------------------------------------------------------------------

// The output collected for the next write.
std::string& output();

// Picks the output encoding for the locale's codeset (and the conversion, if one is needed).
int choose_encoding(const char* codeset);

// Converts Shift-JIS output to the locale's codeset; false if the conversion failed.
bool convert_to_locale(std::string& bytes);

// Writes everything, waiting while a non-blocking descriptor is full. False on an error.
bool write_all(int fd, const char* bytes, std::size_t length);

// Sends the collected output in one write; a Ctrl-Z that came meanwhile takes effect
// afterwards. A failed write ends the game.
void send_output();

// --- input.cpp -------------------------------------------------------------------------

// Waits up to timeout_ms (-1: for ever) for input or a signal; then reads and decodes.
void wait_for_input(int timeout_ms);

// The terminal's end-of-file key (Ctrl-D) in raw mode, or -1 when there is none.
int end_of_file_key();
