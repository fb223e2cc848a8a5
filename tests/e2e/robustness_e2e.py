#!/usr/bin/env python3
"""End-to-end tests of what goes wrong around the game: keys that come all at once or in a
Japanese locale's own codeset, a window too small, output that cannot keep up, signals
that must wait or stay ignored, a terminal without cursor addressing, and system calls
that fail.

Usage: robustness_e2e.py JINRO JINRO_REPLAY
"""
import fcntl
import os
import pty
import resource
import select
import signal
import struct
import subprocess
import termios
import time
import unittest

import harness
from harness import (SEED, MiniTerminal, Tmux, frozen_env, game_command, japanese_locales,
                     plain_frames, read_file, replay, wait_until)

LEAVE = b"\x1b[0m\x1b[?25h\x1b[?1049l"


def many_keys(count):
    """Keys of every kind, r among them, so that games end and start again."""
    return "".join("ijklzxzr"[(i * 5 + i // 7) % 8] for i in range(count))


def start_in_pty(args=(), env=None, limit_files=None):
    """Starts jinro in an 80x25 pseudo-terminal; returns its pid and the master side."""
    pid, fd = pty.fork()
    if pid == 0:
        if limit_files is not None:
            os.closerange(3, 65536)  # whatever the test runner left open
            resource.setrlimit(resource.RLIMIT_NOFILE, (limit_files, limit_files))
        os.execve(harness.JINRO, [harness.JINRO, *args], env or frozen_env())
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
    return pid, fd


def read_for(fd, seconds):
    """Everything the pseudo-terminal shows for that long."""
    data = b""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.02)
        if ready:
            try:
                data += os.read(fd, 65536)
            except OSError:
                break
    return data


def end_in_pty(test, pid, fd):
    os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)
    os.close(fd)


class Input(unittest.TestCase):
    def test_every_key_of_a_thousand_at_once_is_handled_in_order(self):
        keys = many_keys(1000)
        result = subprocess.run([harness.JINRO], input=keys.encode(), capture_output=True,
                                timeout=60, env=frozen_env())
        self.assertEqual(result.returncode, 0)
        frames = plain_frames(result.stdout)
        self.assertEqual(len(frames), 1001)
        self.assertEqual(frames, replay(keys)[1])

    def test_a_character_of_the_locales_codeset_is_one_key(self):
        # ホ is 83 7A in Shift-JIS (z), 人 is 90 6C (l); on the false-claim prompt any key
        # leads on once, so a character taken as two keys would lead on twice.
        folder, locales = japanese_locales(self)
        attack = replay("auto")[0].index("z") + 1
        for name, codec in locales + [("C.UTF-8", "utf-8")]:
            typed = "ホ人" + "l" * (attack - 1) + "z" + "ホ" + "l"
            keys = "xx" + "l" * (attack - 1) + "z" + "x" + "l"
            env = frozen_env(LOCPATH=folder, LC_ALL=name, LANG=name)
            result = subprocess.run([harness.JINRO], input=typed.encode(codec),
                                    capture_output=True, env=env, timeout=10)
            self.assertEqual(plain_frames(result.stdout, codec), replay(keys)[1], name)

    def test_keys_typed_while_the_window_is_too_small_never_reach_the_game(self):
        tmux = Tmux()
        self.addCleanup(tmux.close)
        before, after = os.path.join(tmux.dir, "before"), os.path.join(tmux.dir, "after")
        _, frames = replay("l")
        tmux.shell(game_command(before, after))
        self.assertTrue(tmux.wait_screen(frames[0]))
        tmux.run("resize-window", "-x", "60", "-y", "20")
        self.assertTrue(tmux.wait_text("76x24"), "\n".join(tmux.screen()))
        tmux.type("lllz")
        time.sleep(0.3)
        tmux.run("resize-window", "-x", "80", "-y", "25")
        self.assertTrue(tmux.wait_screen(frames[0]), "\n".join(tmux.screen()))
        tmux.type("l")
        self.assertTrue(tmux.wait_screen(frames[1]), "\n".join(tmux.screen()))


class Output(unittest.TestCase):
    def nonblocking_pipe(self):
        read_end, write_end = os.pipe()
        flags = fcntl.fcntl(write_end, fcntl.F_GETFL)
        fcntl.fcntl(write_end, fcntl.F_SETFL, flags | os.O_NONBLOCK)
        return read_end, write_end

    def test_a_slow_reader_of_non_blocking_output_gets_every_frame(self):
        read_end, write_end = self.nonblocking_pipe()
        game = subprocess.Popen([harness.JINRO], stdin=subprocess.PIPE, stdout=write_end,
                                env=frozen_env())
        os.close(write_end)
        keys = many_keys(300)
        game.stdin.write(keys.encode())
        game.stdin.close()
        output = b""
        with os.fdopen(read_end, "rb", buffering=0) as reader:
            while chunk := reader.read(4096):
                output += chunk
                time.sleep(0.002)
        self.assertEqual(game.wait(timeout=10), 0)
        self.assertEqual(plain_frames(output), replay(keys)[1])

    def test_termination_ends_the_game_while_its_output_is_stalled(self):
        read_end, write_end = self.nonblocking_pipe()
        game = subprocess.Popen([harness.JINRO], stdin=subprocess.PIPE, stdout=write_end,
                                env=harness.ENV)
        os.close(write_end)
        game.stdin.write(many_keys(200).encode())
        game.stdin.flush()
        time.sleep(1.0)  # far more than a pipe holds: the game waits to write
        self.assertIsNone(game.poll(), "the game gave up while its output was full")
        game.terminate()
        self.assertEqual(game.wait(timeout=5), -signal.SIGTERM)
        game.stdin.close()
        os.close(read_end)

    def test_ctrl_z_waits_for_the_frame_being_written(self):
        # Repaints fill the pseudo-terminal until the game waits in the middle of a frame;
        # the stop must not write into it. (The game leads its own session here, so the
        # stop itself does not happen: it gives the terminal back and repaints.)
        _, frames = replay("")
        pid, fd = start_in_pty(args=("--narrow",))
        self.addCleanup(end_in_pty, self, pid, fd)
        terminal = MiniTerminal(80, 25, ambiguous=1)
        terminal.feed(read_for(fd, 0.5))
        for _ in range(10):
            os.kill(pid, signal.SIGWINCH)
            time.sleep(0.02)
        os.kill(pid, signal.SIGTSTP)
        time.sleep(0.2)
        output = read_for(fd, 1.0)
        self.assertIn(LEAVE, output)
        terminal.feed(output[:output.index(LEAVE)])
        shown = ["".join(c for c in row if c).rstrip() for row in terminal.cells[:24]]
        self.assertEqual(shown, frames[0], "the terminal was given back in mid-frame")

    def test_a_signal_ignored_when_the_game_starts_stays_ignored(self):
        tmux = Tmux()
        self.addCleanup(tmux.close)
        before, after, pidfile = (os.path.join(tmux.dir, n) for n in ("before", "after", "pid"))
        _, frames = replay("l")
        tmux.shell(game_command(before, after, pidfile=pidfile, ignore="HUP"))
        self.assertTrue(tmux.wait_screen(frames[0]))
        os.kill(int(read_file(pidfile)), signal.SIGHUP)
        tmux.type("l")
        self.assertTrue(tmux.wait_screen(frames[1]), "\n".join(tmux.screen()))
        tmux.press("C-d")
        self.assertTrue(tmux.wait_text("EXIT=0"), "\n".join(tmux.screen()))

    def test_a_dumb_terminal_gets_plain_frames_and_no_escape_sequence(self):
        pid, fd = start_in_pty(env=frozen_env(TERM="dumb"))
        output = read_for(fd, 0.5)
        os.write(fd, b"l\x04")
        output += read_for(fd, 0.5)
        _, status = os.waitpid(pid, 0)
        os.close(fd)
        self.assertEqual(os.waitstatus_to_exitcode(status), 0)
        self.assertNotIn(b"\x1b", output)
        frames = plain_frames(output.replace(b"\r\n", b"\n"))
        self.assertEqual(frames, replay("l")[1])


class FailingSystemCalls(unittest.TestCase):
    def test_without_a_wake_up_pipe_nothing_is_written_to_standard_input(self):
        # Four descriptors: the three standard ones and one for the dynamic loader, none
        # left for the pipe. A resize must still repaint, and write nothing into input.
        pid, fd = start_in_pty(args=("--narrow",), env=harness.ENV, limit_files=4)
        self.addCleanup(end_in_pty, self, pid, fd)
        output = read_for(fd, 0.5)
        self.assertIn("人狼は".encode(), output)
        os.kill(pid, signal.SIGWINCH)
        repaint = read_for(fd, 0.5)
        self.assertIn(b"\x1b[2J", repaint)
        self.assertNotIn(b"\x01", output + repaint)

    def test_a_failing_poll_ends_the_game_with_status_1(self):
        game = subprocess.Popen([harness.JINRO], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                env=harness.ENV)
        self.addCleanup(game.stdout.close)
        self.assertTrue(game.stdout.read(1))  # the first frame is out; the game waits
        # poll() with more descriptors than the limit allows fails with EINVAL.
        resource.prlimit(game.pid, resource.RLIMIT_NOFILE, (1, 1))
        game.stdin.write(b"l")
        game.stdin.flush()
        try:
            status = game.wait(timeout=5)
        except subprocess.TimeoutExpired:
            game.kill()
            game.wait()
            self.fail("the game went on waiting after poll failed")
        self.assertEqual(status, 1)

    def test_the_game_record_is_never_lost(self):
        result = subprocess.run(
            ["valgrind", "--leak-check=full", "--errors-for-leak-kinds=definite",
             "--error-exitcode=3", "-q", harness.JINRO, "--seed", str(SEED)],
            input=many_keys(50).encode(), capture_output=True, timeout=120, env=harness.ENV)
        self.assertEqual(result.returncode, 0, result.stderr.decode(errors="replace"))


if __name__ == "__main__":
    harness.main(["tmux", "libfaketime", "localedef", "valgrind"])
