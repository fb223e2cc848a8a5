#!/usr/bin/env python3
"""End-to-end tests: the real jinro binary in a pseudo-terminal.

Two kinds of terminal play it:
- tmux, a real terminal emulator (box-drawing lines one column wide), driven with
  send-keys and read back with capture-pane, as a player would see it;
- a small VT emulator here that can draw East Asian ambiguous characters one or two
  columns wide and answers the cursor-position request the way such a terminal would.

Usage: terminal_e2e.py JINRO JINRO_REPLAY
"""
import os
import pty
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import fcntl
import time
import unicodedata
import codecs
import unittest

JINRO = REPLAY = None
SEED_TIME = "2026-01-01 00:00:00"
SEED = 1767225600  # the same instant in Unix seconds (UTC)
FAKETIME_LIBRARY = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
ENV = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", TZ="UTC", TERM="xterm-256color")


def replay(keys):
    """The screens that the library renders for SEED and keys; with 'auto', also the keys."""
    out = subprocess.run([REPLAY, str(SEED), keys], check=True, capture_output=True).stdout
    text = out.decode("utf-8")
    chosen = None
    if keys == "auto":
        chosen, text = text.split("\n", 1)
    frames = [frame.split("\n")[:24] for frame in text.split("\f")[1:]]
    return chosen, frames


def wait_until(predicate, timeout=10.0, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


class Tmux:
    """A private tmux server with one 80x25 pane running a plain shell."""

    def __init__(self, width=80, height=25):
        self.dir = tempfile.mkdtemp(prefix="jinro-e2e-")
        self.socket = os.path.join(self.dir, "sock")
        self.run("-f", "/dev/null", "new-session", "-d", "-x", str(width), "-y", str(height),
                 "env PS1='$ ' bash --norc --noprofile")
        self.run("set-option", "-g", "status", "off")

    def run(self, *args):
        return subprocess.run(["tmux", "-S", self.socket, *args], check=True,
                              capture_output=True, env=ENV).stdout.decode("utf-8")

    def type(self, text):
        self.run("send-keys", "-l", text)

    def press(self, *keys):
        self.run("send-keys", *keys)

    def shell(self, command):
        self.type(command)
        self.press("Enter")

    def screen(self):
        lines = self.run("capture-pane", "-p").split("\n")
        return [line.rstrip() for line in lines[:24]]

    def flag(self, name):
        return self.run("display-message", "-p", "#{%s}" % name).strip()

    def wait_screen(self, expected, timeout=10.0):
        return wait_until(lambda: self.screen() == expected, timeout)

    def wait_text(self, text, timeout=10.0):
        return wait_until(lambda: any(text in line for line in self.screen()), timeout)

    def close(self):
        subprocess.run(["tmux", "-S", self.socket, "kill-server"], capture_output=True)
        shutil.rmtree(self.dir, ignore_errors=True)


def game_command(before, after, trap_interrupt=False):
    """Runs the game between two records of the terminal settings. With trap_interrupt the
    game runs under a shell that survives Ctrl-C (a trapped signal is back to its default
    in the game itself); otherwise the game is the shell's own job, as a player runs it."""
    game = frozen_clock_command()
    if trap_interrupt:
        game = "bash -c \"trap true INT; %s; echo EXIT=\\$?\"" % game
    else:
        game += "; echo EXIT=$?"
    return "stty -g > %s; %s; stty -g > %s" % (before, game, after)


def frozen_clock_command():
    """The game with its clock frozen at SEED_TIME: libfaketime preloaded into the game
    itself, so that no wrapper process stands between the shell and the game."""
    return "LD_PRELOAD=%s FAKETIME='%s' %s" % (FAKETIME_LIBRARY, SEED_TIME, JINRO)


def read_file(path):
    with open(path) as f:
        return f.read()


class TmuxGame(unittest.TestCase):
    def setUp(self):
        self.tmux = Tmux()
        self.before = os.path.join(self.tmux.dir, "before")
        self.after = os.path.join(self.tmux.dir, "after")
        self.keys, self.frames = replay("auto")

    def tearDown(self):
        self.tmux.close()

    def start(self, trap_interrupt=False):
        self.tmux.shell(game_command(self.before, self.after, trap_interrupt))
        self.assertTrue(self.tmux.wait_screen(self.frames[0]),
                        "first screen:\n" + "\n".join(self.tmux.screen()))
        self.assertEqual(self.tmux.flag("alternate_on"), "1")
        self.assertEqual(self.tmux.flag("cursor_flag"), "0")

    def assert_given_back(self, status):
        self.assertTrue(self.tmux.wait_text("EXIT=%d" % status), "\n".join(self.tmux.screen()))
        wait_until(lambda: os.path.exists(self.after) and read_file(self.after))
        self.assertEqual(read_file(self.before), read_file(self.after))
        self.assertEqual(self.tmux.flag("alternate_on"), "0")
        self.assertEqual(self.tmux.flag("cursor_flag"), "1")

    def test_a_whole_game_and_a_restart_show_the_librarys_screens(self):
        self.start()
        for number, key in enumerate(self.keys, start=1):
            self.tmux.type(key)
            ok = self.tmux.wait_screen(self.frames[number])
            self.assertTrue(ok, "after key %d (%r):\n%s\n-- expected --\n%s" % (
                number, key, "\n".join(self.tmux.screen()), "\n".join(self.frames[number])))
        self.assertIn("Press R to Retry", "\n".join(self.frames[-2]))
        self.assertIn("1日夜です", self.frames[-1][1])  # r dealt a new game
        self.tmux.press("C-d")
        self.assert_given_back(0)

    def test_arrow_and_function_keys_are_one_key_each(self):
        self.start()
        # Phase 3 leads on with any key: an arrow key must lead on once, not three times.
        position = self.keys.index("z") + 1
        self.tmux.type(self.keys[:position])
        self.assertTrue(self.tmux.wait_screen(self.frames[position]))
        self.assertIn("騙りますか", self.frames[position][1])
        self.tmux.press("Up")
        self.assertTrue(self.tmux.wait_screen(self.frames[position + 1]),
                        "\n".join(self.tmux.screen()))
        self.tmux.press("F5")
        self.assertTrue(self.tmux.wait_screen(self.frames[position + 2]),
                        "\n".join(self.tmux.screen()))

    def test_ctrl_c_gives_the_terminal_back(self):
        self.start(trap_interrupt=True)
        self.tmux.press("C-c")
        self.assert_given_back(130)

    def test_sigterm_and_sighup_give_the_terminal_back(self):
        for name, status in (("TERM", 143), ("HUP", 129)):
            self.start()
            subprocess.run(["pkill", "-" + name, "-x", "jinro"], check=True)
            self.assert_given_back(status)
            self.tmux.shell("clear; rm -f %s" % self.after)
            wait_until(lambda: not os.path.exists(self.after))

    def test_end_of_input_from_a_pipe_gives_the_terminal_back(self):
        self.tmux.shell("stty -g > %s; printf lz | %s; echo EXIT=$?; stty -g > %s"
                        % (self.before, frozen_clock_command(), self.after))
        self.assert_given_back(0)

    def test_ctrl_z_suspends_with_the_terminal_restored_and_fg_repaints(self):
        self.start()
        self.tmux.type(self.keys[:3])
        self.assertTrue(self.tmux.wait_screen(self.frames[3]))
        self.tmux.press("C-z")
        self.assertTrue(self.tmux.wait_text("Stopped"), "\n".join(self.tmux.screen()))
        self.assertEqual(self.tmux.flag("alternate_on"), "0")
        during = os.path.join(self.tmux.dir, "during")
        self.tmux.shell("stty -g > %s" % during)
        wait_until(lambda: os.path.exists(during) and read_file(during))
        self.assertEqual(read_file(self.before), read_file(during))
        self.tmux.shell("fg")
        self.assertTrue(self.tmux.wait_screen(self.frames[3]), "\n".join(self.tmux.screen()))
        self.tmux.type(self.keys[3])  # and the game goes on in raw mode
        self.assertTrue(self.tmux.wait_screen(self.frames[4]), "\n".join(self.tmux.screen()))

    def test_a_resize_repaints_without_changing_the_game(self):
        self.start()
        # Stop on the vote results: drawing that screen again would hang a second seat.
        vote_result = next(i for i, f in enumerate(self.frames) if "投票結果" in f[1])
        self.tmux.type(self.keys[:vote_result])
        self.assertTrue(self.tmux.wait_screen(self.frames[vote_result]))
        self.tmux.run("resize-window", "-x", "100", "-y", "30")
        self.assertTrue(self.tmux.wait_screen(self.frames[vote_result]))
        self.tmux.run("resize-window", "-x", "60", "-y", "20")
        self.assertTrue(self.tmux.wait_text("76x24"), "\n".join(self.tmux.screen()))
        self.tmux.run("resize-window", "-x", "80", "-y", "25")
        self.assertTrue(self.tmux.wait_screen(self.frames[vote_result]),
                        "\n".join(self.tmux.screen()))
        for number in range(vote_result, len(self.keys)):
            self.tmux.type(self.keys[number])
            self.assertTrue(self.tmux.wait_screen(self.frames[number + 1]),
                            "after key %d:\n%s" % (number + 1, "\n".join(self.tmux.screen())))


class MiniTerminal:
    """Just enough of a VT terminal: cursor placement, erase, colours, the alternate
    screen, cursor visibility and the cursor-position report; East Asian ambiguous
    characters are `ambiguous` columns wide."""

    def __init__(self, columns, rows, ambiguous, answers=True):
        self.columns, self.rows, self.ambiguous, self.answers = columns, rows, ambiguous, answers
        self.decoder = codecs.getincrementaldecoder("utf-8")()
        self.pending = ""
        self.x = self.y = 0
        self.colour = 39
        self.alternate = False
        self.cursor_visible = True
        self.replies = b""
        self.erase()

    def erase(self):
        self.cells = [[" "] * self.columns for _ in range(self.rows)]
        self.colours = [[39] * self.columns for _ in range(self.rows)]

    def width(self, char):
        kind = unicodedata.east_asian_width(char)
        return 2 if kind in "WF" else self.ambiguous if kind == "A" else 1

    def feed(self, data):
        self.pending += self.decoder.decode(data)
        while self.pending:
            if self.pending[0] != "\x1b":
                self.put(self.pending[0])
                self.pending = self.pending[1:]
                continue
            if len(self.pending) < 2:
                return
            if self.pending[1] != "[":
                self.pending = self.pending[2:]
                continue
            end = next((i for i in range(2, len(self.pending))
                        if "\x40" <= self.pending[i] <= "\x7e"), None)
            if end is None:
                return
            self.control(self.pending[2:end], self.pending[end])
            self.pending = self.pending[end + 1:]

    def control(self, params, final):
        private = params.startswith("?")
        numbers = [int(p) if p.isdigit() else 0 for p in params.lstrip("?").split(";")]
        if final == "H":
            self.y = max(numbers[0], 1) - 1
            self.x = max(numbers[1] if len(numbers) > 1 else 1, 1) - 1
        elif final == "J":
            self.erase()
        elif final == "m":
            for n in numbers:
                self.colour = 39 if n == 0 else n
        elif final == "n" and numbers == [6] and self.answers:
            self.replies += b"\x1b[%d;%dR" % (self.y + 1, self.x + 1)
        elif final in "hl" and private:
            if numbers == [1049]:
                self.alternate = final == "h"
                self.erase()
            if numbers == [25]:
                self.cursor_visible = final == "h"

    def put(self, char):
        if char in "\r\n" or self.y >= self.rows:
            return
        width = self.width(char)
        if self.x + width <= self.columns:
            self.cells[self.y][self.x] = char
            self.colours[self.y][self.x] = self.colour
            if width == 2:
                self.cells[self.y][self.x + 1] = ""
                self.colours[self.y][self.x + 1] = self.colour
        self.x += width

    def column_of(self, row, char, start):
        return self.cells[row].index(char, start)


def run_in_pty(terminal, keys=b"", reply_delay=0.0, settle=0.4, timeout=5.0):
    """Runs jinro in a pseudo-terminal drawn by `terminal`; types keys once the first frame
    is there. Returns the seconds from start to the first complete frame."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execve(JINRO, [JINRO], dict(ENV, LD_PRELOAD=FAKETIME_LIBRARY, FAKETIME=SEED_TIME))
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", terminal.rows, terminal.columns, 0, 0))
    start = time.monotonic()
    first_frame = None
    last_output = start
    typed = False
    try:
        while time.monotonic() - start < timeout:
            ready, _, _ = select.select([fd], [], [], 0.02)
            now = time.monotonic()
            if ready:
                try:
                    data = os.read(fd, 65536)
                except OSError:
                    break
                terminal.feed(data)
                last_output = now
                if first_frame is None and "".join(terminal.cells[0]).startswith("人狼は"):
                    first_frame = now - start
            if terminal.replies and now - start >= reply_delay:
                os.write(fd, terminal.replies)
                terminal.replies = b""
            if first_frame is not None and now - last_output > settle:
                if typed or not keys:
                    break
                os.write(fd, keys)
                typed = True
                last_output = now
    finally:
        os.kill(pid, signal.SIGTERM)
        os.waitpid(pid, 0)
        os.close(fd)
    return first_frame


class CardAlignment(unittest.TestCase):
    def assert_cards_line_up(self, terminal):
        for seat in range(10):
            x = (seat % 5) * 15 + 2
            y = (seat // 5) * 7 + 2
            cells = terminal.cells
            self.assertEqual(cells[y][x], str(seat))
            self.assertEqual(cells[y][x + 2], "─")
            self.assertEqual(terminal.column_of(y, "┐", x), x + 12, "seat %d" % seat)
            for row in range(y + 1, y + 5):
                self.assertEqual(cells[row][x], "│", "seat %d row %d" % (seat, row))
                self.assertEqual(cells[row][x + 12], "│", "seat %d row %d" % (seat, row))
            self.assertEqual(cells[y + 5][x], "└")
            self.assertEqual(terminal.column_of(y + 5, "┘", x), x + 12)
            # Every non-box character stands at its Shift-JIS column in either width.
            self.assertEqual(cells[y + 2][x + 2:x + 5], ["C", "O", ":"])
            self.assertEqual(cells[y + 2][x + 10], "？")
            self.assertEqual(cells[y + 3][x + 2], "黒")
            # The lines are continuous: no gaps between the corners.
            top = [c for c in cells[y][x + 2:x + 12] if c != ""]
            self.assertTrue(all(c == "─" for c in top), "seat %d top %r" % (seat, top))

    def test_cards_line_up_where_ambiguous_characters_are_one_column(self):
        terminal = MiniTerminal(80, 25, ambiguous=1)
        elapsed = run_in_pty(terminal)
        self.assertIsNotNone(elapsed, "no frame")
        self.assert_cards_line_up(terminal)
        print("first frame after %.1f ms (one-column terminal)" % (elapsed * 1000),
              file=sys.stderr)

    def test_cards_line_up_where_ambiguous_characters_are_two_columns(self):
        terminal = MiniTerminal(80, 25, ambiguous=2)
        elapsed = run_in_pty(terminal)
        self.assertIsNotNone(elapsed, "no frame")
        self.assert_cards_line_up(terminal)
        self.assertLess(elapsed, 0.2)

    def test_a_terminal_that_never_answers_is_taken_as_one_column(self):
        terminal = MiniTerminal(80, 25, ambiguous=1, answers=False)
        elapsed = run_in_pty(terminal)
        self.assertIsNotNone(elapsed, "no frame")
        self.assert_cards_line_up(terminal)
        self.assertLess(elapsed, 1.0)

    def test_a_late_answer_is_a_reply_not_keys_and_repaints_in_its_width(self):
        terminal = MiniTerminal(80, 25, ambiguous=2)
        run_in_pty(terminal, reply_delay=0.8, settle=1.2)
        self.assert_cards_line_up(terminal)
        self.assertIn("1日夜です", "".join(terminal.cells[1]))

    def test_colours_of_the_first_screen(self):
        terminal = MiniTerminal(80, 25, ambiguous=1)
        run_in_pty(terminal)
        _, frames = replay("")
        header = frames[0][0]
        wolves = [seat for seat in range(10)
                  if "".join(terminal.cells[(seat // 5) * 7 + 3]).find("") >= 0 and
                  header.find(" " + "".join(terminal.cells[(seat // 5) * 7 + 3]
                                            [(seat % 5) * 15 + 4:(seat % 5) * 15 + 14]).strip()
                              + " ") >= 0]
        self.assertEqual(len(wolves), 2, header)
        for seat in range(10):
            x, y = (seat % 5) * 15 + 2, (seat // 5) * 7 + 2
            self.assertEqual(terminal.colours[y + 1][x], 91 if seat in wolves else 97, seat)
        self.assertEqual(terminal.cells[2][1], ">")
        self.assertEqual(terminal.colours[2][1], 92)
        self.assertEqual(terminal.colours[0][0], 97)
        self.assertTrue(terminal.alternate)
        self.assertFalse(terminal.cursor_visible)


class Pipes(unittest.TestCase):
    def test_without_a_terminal_frames_go_to_standard_output_until_input_ends(self):
        result = subprocess.run([JINRO], input=b"lz\x1b[Ax", capture_output=True, timeout=10,
                                env=dict(ENV, LD_PRELOAD=FAKETIME_LIBRARY, FAKETIME=SEED_TIME))
        self.assertEqual(result.returncode, 0)
        frames = [f.split("\n")[:24] for f in result.stdout.decode("utf-8").split("\f")[1:]]
        _, expected = replay("lzx")
        self.assertEqual(len(frames), 5)  # the first screen and one after each key
        self.assertEqual(frames[:4], expected[:4])
        self.assertNotIn("\x1b", result.stdout.decode("utf-8"))

    def test_the_locales_own_codeset_where_it_is_euc_jp_or_shift_jis(self):
        locales = tempfile.mkdtemp(prefix="jinro-locales-")
        self.addCleanup(shutil.rmtree, locales, ignore_errors=True)
        _, expected = replay("lz")
        for name, charmap, codec in (("ja_JP.eucJP", "EUC-JP", "euc_jp"),
                                     ("ja_JP.SJIS", "SHIFT_JIS", "cp932")):
            subprocess.run(["localedef", "--no-warnings=ascii", "-i", "ja_JP", "-f", charmap,
                            os.path.join(locales, name)], check=True, capture_output=True)
            env = dict(ENV, LOCPATH=locales, LC_ALL=name, LANG=name,
                       LD_PRELOAD=FAKETIME_LIBRARY, FAKETIME=SEED_TIME)
            result = subprocess.run([JINRO], input=b"lz", capture_output=True, env=env,
                                    timeout=10)
            self.assertEqual(result.returncode, 0)
            frames = [f.split("\n")[:24] for f in result.stdout.decode(codec).split("\f")[1:]]
            self.assertEqual(frames, expected, name)


if __name__ == "__main__":
    JINRO, REPLAY = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[3:])
