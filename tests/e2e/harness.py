"""What the end-to-end tests share: the real jinro binary and the replay tool, a private
tmux server, a small VT emulator, and the game in a pseudo-terminal.

A test file calls main(): it takes the paths of jinro and jinro_replay from the command
line and checks that the tools the tests drive are installed. A missing tool skips the
file (exit status 77) with the reason, unless JINRO_E2E_REQUIRE_TOOLS=1 (as under
scripts/test), where it is a failure.
"""
import codecs
import fcntl
import glob
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
import time
import unicodedata
import unittest

JINRO = REPLAY = None
SKIPPED = 77

SEED_TIME = "2026-01-01 00:00:00"
SEED = 1767225600  # the same instant in Unix seconds (UTC)
FAKETIME_LIBRARY = next(iter(glob.glob("/usr/lib/*/faketime/libfaketime.so.1")), None)
ENV = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", TZ="UTC", TERM="xterm-256color")


HEADERS = ("人狼は", "Your wolves:")  # how the first row of a screen begins, by language


def replay(keys, seed=SEED, lang="ja"):
    """The screens that the library renders for the seed and keys, in a language; with
    'auto', also the keys."""
    out = subprocess.run([REPLAY, "--lang", lang, str(seed), keys], check=True,
                         capture_output=True).stdout
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


def game_command(before, after, trap_interrupt=False, pidfile=None, ignore=None, args=""):
    """Runs the game between two records of the terminal settings. With trap_interrupt the
    game runs under a shell that survives Ctrl-C (a trapped signal is back to its default
    in the game itself); otherwise the game is the shell's own job, as a player runs it."""
    game = frozen_clock_command(pidfile, ignore, args)
    if trap_interrupt:
        game = "bash -c \"trap true INT; %s; echo EXIT=\\$?\"" % game
    else:
        game += "; echo EXIT=$?"
    return "stty -g > %s; %s; stty -g > %s" % (before, game, after)


def frozen_clock_command(pidfile=None, ignore=None, args=""):
    """The game with its clock frozen at SEED_TIME: libfaketime preloaded into the game
    itself, so that no wrapper process stands between the shell and the game. With
    pidfile, its process id is written there; with ignore, it starts with that signal
    ignored."""
    game = "LD_PRELOAD=%s FAKETIME='%s' %s %s" % (FAKETIME_LIBRARY, SEED_TIME, JINRO, args)
    if pidfile is None and ignore is None:
        return game
    prelude = "trap '' %s; " % ignore if ignore else ""
    if pidfile:
        prelude += "echo \\$\\$ > %s; " % pidfile
    return "bash -c \"%sexec env %s\"" % (prelude, game)


def read_file(path):
    with open(path) as f:
        return f.read()


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
        self.asked = 0  # cursor-position requests seen
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
        elif final == "n" and numbers == [6]:
            self.asked += 1
            if self.answers:
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


def assert_cards_line_up(test, terminal):
    for seat in range(10):
        x = (seat % 5) * 15 + 2
        y = (seat // 5) * 7 + 2
        cells = terminal.cells
        test.assertEqual(cells[y][x], str(seat))
        test.assertEqual(cells[y][x + 2], "─")
        test.assertEqual(terminal.column_of(y, "┐", x), x + 12, "seat %d" % seat)
        for row in range(y + 1, y + 5):
            test.assertEqual(cells[row][x], "│", "seat %d row %d" % (seat, row))
            test.assertEqual(cells[row][x + 12], "│", "seat %d row %d" % (seat, row))
        test.assertEqual(cells[y + 5][x], "└")
        test.assertEqual(terminal.column_of(y + 5, "┘", x), x + 12)
        # Every non-box character stands at its Shift-JIS column in either width.
        test.assertEqual(cells[y + 2][x + 2:x + 5], ["C", "O", ":"])
        test.assertEqual(cells[y + 2][x + 10], "？")
        test.assertEqual(cells[y + 3][x + 2], "黒")
        # The lines are continuous: no gaps between the corners.
        top = [c for c in cells[y][x + 2:x + 12] if c != ""]
        test.assertTrue(all(c == "─" for c in top), "seat %d top %r" % (seat, top))


def run_in_pty(terminal, keys=b"", reply_delay=0.0, settle=0.4, timeout=5.0, args=(), env=None):
    """Runs jinro in a pseudo-terminal drawn by `terminal`; types keys once the first frame
    is there. Returns the seconds from start to the first complete frame."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execve(JINRO, [JINRO, *args], env or frozen_env())
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
                if first_frame is None and "".join(terminal.cells[0]).startswith(HEADERS):
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


def japanese_locales(test):
    """Builds ja_JP.eucJP and ja_JP.SJIS into a folder removed after the test; returns the
    folder and (locale, Python codec) pairs."""
    folder = tempfile.mkdtemp(prefix="jinro-locales-")
    test.addCleanup(shutil.rmtree, folder, ignore_errors=True)
    locales = (("ja_JP.eucJP", "EUC-JP", "euc_jp"), ("ja_JP.SJIS", "SHIFT_JIS", "cp932"))
    for name, charmap, _ in locales:
        subprocess.run(["localedef", "--no-warnings=ascii", "-i", "ja_JP", "-f", charmap,
                        os.path.join(folder, name)], check=True, capture_output=True)
    return folder, [(name, codec) for name, _, codec in locales]


def plain_frames(output, codec="utf-8"):
    """The screens of plain output (each introduced by a form feed), as lists of rows."""
    return [frame.split("\n")[:24] for frame in output.decode(codec).split("\f")[1:]]


def frozen_env(**extra):
    """The environment of a game dealt at SEED_TIME."""
    return dict(ENV, LD_PRELOAD=FAKETIME_LIBRARY, FAKETIME=SEED_TIME, **extra)


TOOLS = {
    "tmux": lambda: shutil.which("tmux"),
    "libfaketime": lambda: FAKETIME_LIBRARY,
    "localedef": lambda: shutil.which("localedef"),
    "valgrind": lambda: shutil.which("valgrind"),
}


def main(tools):
    """Runs the calling file's tests, or skips them when a tool they need is missing."""
    global JINRO, REPLAY
    JINRO, REPLAY = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    missing = [name for name in tools if not TOOLS[name]()]
    if missing:
        print("end-to-end tests need %s, which %s not installed (Debian: scripts/test "
              "installs them)" % (", ".join(missing), "is" if len(missing) == 1 else "are"))
        sys.exit(1 if os.environ.get("JINRO_E2E_REQUIRE_TOOLS") == "1" else SKIPPED)
    program = unittest.main(module="__main__", argv=[sys.argv[0], "-v"] + sys.argv[3:],
                            exit=False)
    sys.exit(0 if program.result.wasSuccessful() else 1)
