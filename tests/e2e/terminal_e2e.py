#!/usr/bin/env python3
"""End-to-end tests: the real jinro binary in a pseudo-terminal.

Two kinds of terminal play it:
- tmux, a real terminal emulator (box-drawing lines one column wide), driven with
  send-keys and read back with capture-pane, as a player would see it;
- a small VT emulator that can draw East Asian ambiguous characters one or two columns
  wide and answers the cursor-position request the way such a terminal would.

Usage: terminal_e2e.py JINRO JINRO_REPLAY
"""
import os
import signal
import subprocess
import sys
import unittest

import harness
from harness import (MiniTerminal, Tmux, assert_cards_line_up, frozen_env, game_command,
                     japanese_locales, plain_frames, read_file, replay, run_in_pty, wait_until)

class TmuxGame(unittest.TestCase):
    def setUp(self):
        self.tmux = Tmux()
        self.before = os.path.join(self.tmux.dir, "before")
        self.after = os.path.join(self.tmux.dir, "after")
        self.keys, self.frames = replay("auto")

    def tearDown(self):
        self.tmux.close()

    def start(self, trap_interrupt=False, pidfile=None):
        self.tmux.shell(game_command(self.before, self.after, trap_interrupt, pidfile))
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
        pidfile = os.path.join(self.tmux.dir, "pid")
        for name, status in (("TERM", 143), ("HUP", 129)):
            self.start(pidfile=pidfile)
            os.kill(int(read_file(pidfile)), getattr(signal, "SIG" + name))
            self.assert_given_back(status)
            self.tmux.shell("clear; rm -f %s" % self.after)
            wait_until(lambda: not os.path.exists(self.after))

    def test_end_of_input_from_a_pipe_gives_the_terminal_back(self):
        self.tmux.shell("stty -g > %s; printf lz | %s; echo EXIT=$?; stty -g > %s"
                        % (self.before, harness.frozen_clock_command(), self.after))
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
        # Stop on the vote results, the screen with the most on it: a repaint shows it as it was.
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


class CardAlignment(unittest.TestCase):
    def test_cards_line_up_where_ambiguous_characters_are_one_column(self):
        terminal = MiniTerminal(80, 25, ambiguous=1)
        elapsed = run_in_pty(terminal)
        self.assertIsNotNone(elapsed, "no frame")
        assert_cards_line_up(self, terminal)
        print("first frame after %.1f ms (one-column terminal)" % (elapsed * 1000),
              file=sys.stderr)

    def test_cards_line_up_where_ambiguous_characters_are_two_columns(self):
        terminal = MiniTerminal(80, 25, ambiguous=2)
        elapsed = run_in_pty(terminal)
        self.assertIsNotNone(elapsed, "no frame")
        assert_cards_line_up(self, terminal)
        self.assertLess(elapsed, 0.2)

    def test_a_terminal_that_never_answers_is_taken_as_one_column(self):
        terminal = MiniTerminal(80, 25, ambiguous=1, answers=False)
        elapsed = run_in_pty(terminal)
        self.assertIsNotNone(elapsed, "no frame")
        assert_cards_line_up(self, terminal)
        self.assertLess(elapsed, 1.0)

    def test_a_late_answer_is_a_reply_not_keys_and_repaints_in_its_width(self):
        terminal = MiniTerminal(80, 25, ambiguous=2)
        run_in_pty(terminal, reply_delay=0.8, settle=1.2)
        assert_cards_line_up(self, terminal)
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
        result = subprocess.run([harness.JINRO], input=b"lz\x1b[Ax", capture_output=True,
                                timeout=10, env=frozen_env())
        self.assertEqual(result.returncode, 0)
        frames = [f.split("\n")[:24] for f in result.stdout.decode("utf-8").split("\f")[1:]]
        _, expected = replay("lzx")
        self.assertEqual(len(frames), 5)  # the first screen and one after each key
        self.assertEqual(frames[:4], expected[:4])
        self.assertNotIn("\x1b", result.stdout.decode("utf-8"))

    def test_the_locales_own_codeset_where_it_is_euc_jp_or_shift_jis(self):
        folder, locales = japanese_locales(self)
        _, expected = replay("lz")
        for name, codec in locales:
            env = frozen_env(LOCPATH=folder, LC_ALL=name, LANG=name)
            result = subprocess.run([harness.JINRO], input=b"lz", capture_output=True,
                                    env=env, timeout=10)
            self.assertEqual(result.returncode, 0)
            self.assertEqual(plain_frames(result.stdout, codec), expected, name)


if __name__ == "__main__":
    harness.main(["tmux", "libfaketime", "localedef"])
