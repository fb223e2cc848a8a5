#!/usr/bin/env python3
"""End-to-end tests of the command line: help, version and usage errors that never touch
the terminal, the seed of a given second and of today's village, and a layout chosen
without asking the terminal.

Usage: command_line_e2e.py JINRO JINRO_REPLAY
"""
import json
import os
import pty
import re
import resource
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

import harness
from harness import (ENV, SEED, MiniTerminal, Tmux, assert_cards_line_up, frozen_env, plain_frames,
                     replay, run_in_pty)


def run_in_terminal(args, env):
    """Runs jinro with a terminal for input and output; returns its exit status and all it
    wrote there."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execve(harness.JINRO, [harness.JINRO, *args], env)
    output = b""
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        if not select.select([fd], [], [], 0.1)[0]:
            continue
        try:
            chunk = os.read(fd, 65536)
        except OSError:  # the terminal is gone with the process
            break
        if not chunk:
            break
        output += chunk
    else:
        os.kill(pid, signal.SIGKILL)  # a game that never ended: its status says so
    _, status = os.waitpid(pid, 0)
    os.close(fd)
    return os.waitstatus_to_exitcode(status), output


def japanese_env():
    env = dict(ENV, LANG="ja_JP.UTF-8")
    del env["LC_ALL"]
    return env


class Messages(unittest.TestCase):
    def test_help_and_version_are_printed_and_the_terminal_is_left_alone(self):
        for args, env, expected in (
                (["--help"], ENV, r"Usage: jinro \[OPTION\]\.\.\.\r\n(.*\r\n)*  --daily  "),
                (["--help"], japanese_env(), r"使い方: jinro \[オプション\]\.\.\.\r\n"),
                (["--version"], ENV, r"jinro \d+\.\d+\.\d+\r\n$")):
            status, output = run_in_terminal(args, env)
            self.assertEqual(status, 0, args)
            self.assertRegex(output.decode(), expected)
            self.assertNotIn(b"\x1b", output, "the terminal was switched to the game's mode")

    def test_a_usage_error_is_one_line_and_a_hint_with_status_2(self):
        cases = (
            (["--bogus"], "jinro: unrecognized option '--bogus'"),
            (["--seed"], "jinro: option '--seed' requires a value"),
            (["--seed", "4294967296"], "jinro: invalid seed '4294967296'"),
            (["--seed", "1", "--daily"], "jinro: --seed and --daily cannot be used together"),
            (["--narrow", "--wide"], "jinro: --narrow and --wide cannot be used together"),
            (["village"], "jinro: unexpected argument 'village'"),
        )
        for args, line in cases:
            result = subprocess.run([harness.JINRO, *args], capture_output=True, env=ENV,
                                    timeout=10, stdin=subprocess.DEVNULL)
            self.assertEqual(result.returncode, 2, args)
            self.assertEqual(result.stdout, b"", args)
            lines = result.stderr.decode().splitlines()
            self.assertEqual(len(lines), 2, lines)
            self.assertTrue(lines[0].startswith(line), lines)
            self.assertEqual(lines[1], "Try 'jinro --help' for more information.")
        status, output = run_in_terminal(["--bogus"], japanese_env())
        self.assertEqual(status, 2)
        self.assertIn("不明なオプション", output.decode())
        self.assertNotIn(b"\x1b", output)


class Seeds(unittest.TestCase):
    def frames(self, args, env):
        result = subprocess.run([harness.JINRO, *args], input=b"lz", capture_output=True,
                                env=env, timeout=10)
        self.assertEqual(result.returncode, 0)
        return plain_frames(result.stdout)

    def test_a_seed_deals_the_game_of_that_second(self):
        self.assertEqual(self.frames(["--seed", str(SEED)], ENV), replay("lz")[1])
        self.assertEqual(self.frames(["--seed=%d" % (SEED + 1)], ENV),
                         replay("lz", SEED + 1)[1])

    def test_todays_village_is_the_game_of_midnight_in_japan(self):
        # Midnight of 1 January 2026 in Japan is 15:00 UTC the day before.
        midnight = 1767193200
        for clock, seed in (("2026-01-01 05:00:00", midnight),
                            ("2026-01-01 14:59:59", midnight),
                            ("2026-01-01 15:00:00", midnight + 86400),
                            ("2025-12-31 15:00:00", midnight)):
            env = dict(frozen_env(), FAKETIME=clock)
            self.assertEqual(self.frames(["--daily"], env), replay("lz", seed)[1], clock)


class Layout(unittest.TestCase):
    def test_narrow_and_wide_lay_out_at_once_without_asking_the_terminal(self):
        for option, columns in (("--narrow", 1), ("--wide", 2)):
            terminal = MiniTerminal(80, 25, ambiguous=columns, answers=False)
            elapsed = run_in_pty(terminal, args=[option])
            self.assertIsNotNone(elapsed, option)
            self.assertEqual(terminal.asked, 0, option)
            assert_cards_line_up(self, terminal)
            self.assertLess(elapsed, 0.2, option)  # no wait for an answer that never comes
            self.assertTrue(re.search("1日夜です", "".join(terminal.cells[1])), option)


class Language(unittest.TestCase):
    def frames(self, args, env, keys=b"lz"):
        result = subprocess.run([harness.JINRO, "--seed", str(SEED), *args], input=keys,
                                capture_output=True, env=env, timeout=10)
        self.assertEqual(result.returncode, 0, result.stderr)
        return plain_frames(result.stdout)

    def test_lang_or_jinro_lang_chooses_the_language_and_the_locale_never_does(self):
        japanese, english = replay("lz")[1], replay("lz", lang="en")[1]
        for locale in ("ja_JP.UTF-8", "C", "POSIX", None, "en_US.UTF-8"):
            env = {k: v for k, v in ENV.items() if k not in ("LANG", "LC_ALL", "LC_MESSAGES")}
            if locale:
                env["LANG"] = locale
            for args, variable, expected in (([], None, japanese), (["--lang", "en"], None, english),
                                             (["--lang=en"], None, english), ([], "en", english),
                                             (["--lang", "ja"], "en", japanese)):
                run_env = dict(env, JINRO_LANG=variable) if variable else env
                self.assertEqual(self.frames(args, run_env), expected, (locale, args, variable))

    def test_a_bare_or_unknown_language_is_a_usage_error(self):
        for args, variable, line in ((["--lang"], None, "requires a value"),
                                     (["--lang", "fr"], None, "unknown language 'fr'"),
                                     ([], "klingon", "in JINRO_LANG")):
            env = dict(ENV, JINRO_LANG=variable) if variable else ENV
            result = subprocess.run([harness.JINRO, *args], capture_output=True, env=env,
                                    timeout=10, stdin=subprocess.DEVNULL)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(line, result.stderr.decode().splitlines()[0])

    def test_a_whole_english_game_in_a_terminal(self):
        keys, frames = replay("auto", lang="en")
        terminal = MiniTerminal(80, 25, ambiguous=1, answers=False)
        run_in_pty(terminal, keys=keys.encode(), args=["--narrow", "--lang", "en"], timeout=15)
        shown = ["".join(row).rstrip() for row in terminal.cells[:24]]
        self.assertEqual(shown, [row.rstrip() for row in frames[-1]])
        self.assertIn("Night 1.", shown[1])  # r dealt a new game, in English
        # Every screen of the game says what its keys do: choose, any key, or play again.
        said = r"i j k l move, z (kills|votes)\.$|Press any key|r plays again, Ctrl-C quits\.$"
        for frame in frames:
            self.assertRegex(frame[1].rstrip(), said)
        self.assertIn("Day 2 is over. Press any key", "\n".join(frame[1] for frame in frames))


class Records(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="jinro-records-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.path = os.path.join(self.dir, "game.rec")

    def run_jinro(self, args, keys=b""):
        return subprocess.run([harness.JINRO, *args], input=keys, capture_output=True, env=ENV,
                              timeout=30)

    def test_a_recorded_game_with_a_restart_replays_frame_for_frame_and_tells_its_story(self):
        keys, _ = replay("auto", seed=7)
        keys += "lz"  # the second game, reached only through the first
        played = self.run_jinro(["--seed", "7", "--record", self.path], keys.encode())
        self.assertEqual(played.returncode, 0)
        with open(self.path, encoding="ascii") as record:
            self.assertEqual(record.read(), "jinro-record 2 7 ja\n" + keys.replace("x", "."))
        again = self.run_jinro(["--replay", self.path])
        self.assertEqual(again.returncode, 0)
        self.assertEqual(again.stdout, played.stdout)
        story = self.run_jinro(["--story", self.path, "--lang", "en"]).stdout.decode()
        self.assertIn("Day 2\n", story)
        self.assertIn("The village won", story)
        self.assertTrue(story.endswith("?seed=7&keys=%s\n" % keys.replace("x", ".")), story[-80:])

    def test_a_killed_game_replays_up_to_its_last_key(self):
        pid, fd = pty.fork()
        if pid == 0:
            os.execve(harness.JINRO, [harness.JINRO, "--narrow", "--seed", "7", "--record",
                                      self.path], ENV)
        time.sleep(0.5)
        for key in b"zxx":
            os.write(fd, bytes([key]))
            time.sleep(0.2)
        os.kill(pid, signal.SIGKILL)
        os.waitpid(pid, 0)
        os.close(fd)
        with open(self.path, encoding="ascii") as record:
            self.assertEqual(record.read(), "jinro-record 2 7 ja\nz..")
        frames = plain_frames(self.run_jinro(["--replay", self.path]).stdout)
        self.assertEqual(frames, replay("zxx", seed=7)[1])

    def test_output_that_cannot_be_written_is_an_error(self):
        with open(self.path, "w", encoding="ascii") as record:
            record.write("jinro-record 1 7\nz..")
        for args in (["--help"], ["--version"], ["--story", self.path]):
            with open("/dev/full", "wb") as full:
                result = subprocess.run([harness.JINRO, *args], stdout=full, stderr=subprocess.PIPE,
                                        env=ENV, timeout=10, stdin=subprocess.DEVNULL)
            self.assertEqual(result.returncode, 1, args)
            self.assertEqual(result.stderr.decode(),
                             "jinro: standard output: cannot be written (No space left on device)\n")
        with open("/dev/full", "wb") as full:  # a usage error that cannot even be said
            result = subprocess.run([harness.JINRO, "--bogus"], stderr=full, env=ENV, timeout=10)
        self.assertEqual(result.returncode, 1)

    def test_files_that_are_no_records_are_refused_without_waiting(self):
        fifo = os.path.join(self.dir, "fifo")
        os.mkfifo(fifo)
        for args in (["--story", fifo], ["--replay", fifo], ["--story", self.dir]):
            result = self.run_jinro(args)
            self.assertEqual(result.returncode, 2, args)
            self.assertEqual(result.stderr.decode(), "jinro: %s: not a regular file\n" % args[1])
            self.assertEqual(result.stdout, b"", args)

    def test_a_record_is_never_written_through_a_link_or_over_a_file(self):
        target = os.path.join(self.dir, "target")
        with open(target, "w", encoding="ascii") as kept:
            kept.write("kept")
        for link, points_to in (("dangling", os.path.join(self.dir, "nowhere")),
                                ("to-a-file", target)):
            path = os.path.join(self.dir, link)
            os.symlink(points_to, path)
            result = self.run_jinro(["--record", path, "--seed", "1"], b"lz")
            self.assertEqual(result.returncode, 2, link)
            self.assertIn("already exists", result.stderr.decode(), link)
            self.assertFalse(os.path.exists(os.path.join(self.dir, "nowhere")), link)
        with open(target, encoding="ascii") as kept:
            self.assertEqual(kept.read(), "kept")

    def test_a_file_size_limit_ends_the_game_with_the_terminal_given_back(self):
        pid, fd = pty.fork()
        if pid == 0:
            resource.setrlimit(resource.RLIMIT_FSIZE, (1024, 1024))
            os.execve(harness.JINRO, [harness.JINRO, "--narrow", "--seed", "7", "--record",
                                      self.path], ENV)
        output = b""
        for _ in range(12):  # pasted: about 1,200 keys
            try:
                os.write(fd, b"lzx." * 25)
            except OSError:
                break
            while select.select([fd], [], [], 0.02)[0]:
                try:
                    output += os.read(fd, 65536)
                except OSError:
                    break
        while True:
            if not select.select([fd], [], [], 5)[0]:
                break
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                break
            if not chunk:
                break
            output += chunk
        _, status = os.waitpid(pid, 0)
        os.close(fd)
        self.assertEqual(os.waitstatus_to_exitcode(status), 1)
        leave = output.rindex(b"\x1b[?1049l")
        self.assertIn(b"game.rec: cannot be written (File too large)", output[leave:])
        self.assertEqual(os.path.getsize(self.path), 1024)

    def test_a_record_stops_at_the_most_keys_a_reader_takes(self):
        keys = "lzx." * 25001  # 100,004 keys
        result = subprocess.run([harness.JINRO, "--seed", "7", "--record", self.path],
                                input=keys.encode(), stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, env=ENV, timeout=120)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr.decode(), "jinro: %s: the record is full at 100000 keys;"
                         " the rest of the game was not recorded\n" % self.path)
        with open(self.path, encoding="ascii") as record:
            self.assertEqual(record.read(), "jinro-record 2 7 ja\n" + keys[:100000].replace("x", "."))
        story = self.run_jinro(["--story", self.path])
        self.assertEqual(story.returncode, 0, story.stderr)

    def test_bad_records_and_files_are_refused_with_the_terminal_untouched(self):
        with open(self.path, "w", encoding="ascii") as existing:
            existing.write("jinro-record 9 7\n")
        status, output = run_in_terminal(["--record", self.path], ENV)
        self.assertEqual(status, 2)
        self.assertIn(b"already exists", output)
        self.assertNotIn(b"\x1b", output)
        for args, status, line in ((["--replay", self.path], 2, "an unknown version"),
                                   (["--story", self.path + ".missing"], 1, "cannot be read"),
                                   (["--replay", self.path, "--seed", "1"], 2, "cannot be used")):
            result = self.run_jinro(args)
            self.assertEqual(result.returncode, status, args)
            self.assertIn(line, result.stderr.decode().splitlines()[0], args)
            self.assertEqual(result.stdout, b"", args)


class Coach(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="jinro-coach-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)

    def run_jinro(self, args):
        return subprocess.run([harness.JINRO, *args], capture_output=True, env=ENV, timeout=120,
                              stdin=subprocess.DEVNULL)

    def test_a_simulation_is_the_same_on_any_number_of_threads(self):
        reports = []
        for threads in ("1", "3"):
            result = self.run_jinro(["--simulate", "3000", "--seed", "1790000000", "--threads",
                                     threads, "--json"])
            self.assertEqual(result.returncode, 0, result.stderr)
            report = json.loads(result.stdout)
            self.assertGreater(report.pop("games_per_second"), 0)
            reports.append(report)
        self.assertEqual(reports[0], reports[1])
        self.assertEqual(sorted(reports[0]), ["first_seed", "games", "high", "low", "mean_days",
                                              "policy", "rules", "win_rate", "wolves_won"])
        self.assertEqual(reports[0]["policy"], "heuristic")
        self.assertEqual(reports[0]["rules"], "standard")
        self.assertLess(reports[0]["low"], reports[0]["win_rate"])
        lies = self.run_jinro(["--simulate", "300", "--bluff", "--policy", "bluff", "--json"])
        self.assertEqual(json.loads(lies.stdout)["rules"], "bluff")
        self.assertEqual(self.run_jinro(["--simulate", "3", "--policy", "bluff"]).returncode, 2)
        text = self.run_jinro(["--simulate", "300", "--policy", "random", "--lang", "en"])
        self.assertRegex(text.stdout.decode(), r"^random policy, 300 games from seed 1\n"
                         r"  the wolves won \d+: \d+\.\d% \(95% interval [^)]*\)\n"
                         r"  mean last day: \d\.\d\d\n  \d+ games a second; threads: \d+\n$")
        bad = self.run_jinro(["--simulate", "ten"])
        self.assertEqual(bad.returncode, 2)
        self.assertEqual(len(bad.stderr.decode().splitlines()), 2)  # the line, and the hint

    def test_a_review_tells_every_choice_and_each_game(self):
        keys, _ = replay("auto", seed=7)
        path = os.path.join(self.dir, "game.rec")
        with open(path, "w", encoding="ascii") as record:
            record.write("jinro-record 1 7\n" + keys.replace("x", ".") + "lz")
        lines = []
        for threads in ("1", "4"):
            result = self.run_jinro(["--review", path, "--json", "--threads", threads])
            self.assertEqual(result.returncode, 0, result.stderr)
            lines.append(result.stdout.decode().splitlines())
        self.assertEqual(lines[0], lines[1])
        decisions = [json.loads(line) for line in lines[0] if '"choice"' in line]
        games = [json.loads(line) for line in lines[0] if '"accuracy"' in line]
        self.assertEqual([g["game"] for g in games], [1, 2])
        self.assertIn(games[0]["winner"], ("wolves", "village"))
        self.assertIsNone(games[1]["winner"])  # the record ends in the second game
        self.assertEqual(sum(1 for d in decisions if d["choice"] == "attack"),
                         keys.count("z") - sum(1 for d in decisions if d["choice"] == "vote") + 1)
        for d in decisions:
            self.assertIn(d["chosen"], [option["seat"] for option in d["options"]])
            self.assertIn(d["mark"], (None, "inaccuracy", "mistake", "blunder"))
            for option in d["options"]:
                self.assertLessEqual(option["low"], option["win"])
                self.assertLessEqual(option["win"], option["high"])
        text = self.run_jinro(["--review", path, "--lang", "en"]).stdout.decode()
        self.assertIn("Night 1, the attack: chose ", text)
        self.assertIn("&review=1\n", text)

    def test_the_coach_shows_the_odds_beside_a_choice_and_nothing_elsewhere(self):
        tmux = Tmux()
        self.addCleanup(tmux.close)
        keys, frames = replay("auto", lang="en")
        attack = keys.index("z") + 1
        tmux.shell("%s --coach --narrow --lang en --seed %d" % (harness.JINRO, SEED))
        self.assertTrue(tmux.wait_text(" best"), "\n".join(tmux.screen()))
        shown = tmux.screen()
        self.assertEqual(shown[:15], frames[0][:15])  # the game's own screen, as it is
        odds = sum(len(re.findall(r"\d+% \(\d+-\d+%\)", line)) for line in shown[15:20])
        self.assertEqual(odds, 8, shown)  # a line for each seat the wolves may attack
        tmux.type(keys[:attack])  # the attack: the next screen has no choice, and no odds
        self.assertTrue(tmux.wait_screen(frames[attack]), "\n".join(tmux.screen()))

    def test_a_replay_with_the_coach_shows_the_odds_before_it_moves_on(self):
        keys, frames = replay("auto", lang="en")
        path = os.path.join(self.dir, "game.rec")
        with open(path, "w", encoding="ascii") as record:
            record.write("jinro-record 1 %d\n%s" % (SEED, keys.replace("x", ".")[:6]))
        tmux = Tmux()
        self.addCleanup(tmux.close)
        tmux.shell("%s --replay %s --coach --narrow --lang en 2>/dev/null" % (harness.JINRO, path))
        # The screen of a choice the replay passes shows its odds, worked out to the end (as
        # the tests' tool works them out: the same rollouts), before the next screen comes.
        odds = subprocess.run([harness.REPLAY, "--odds", str(SEED), ""], check=True,
                              capture_output=True).stdout.decode().splitlines()
        settled = {line.split(" ", 1)[1] for line in odds}
        seen = []
        while len(seen) < 600 and not (seen and seen[-1][0].startswith("Day 2.")):
            screen = tmux.screen()
            seen.append((screen[1], {odds for line in screen[15:20]
                                     for odds in re.findall(r"\d+% \(\d+-\d+%\)", line)}))
            time.sleep(0.02)
        night = [odds for prompt, odds in seen if prompt.startswith("Night 1.")]
        self.assertTrue(night, seen[-3:])
        self.assertEqual(night[-1], settled)


class UnderAnyInput(unittest.TestCase):
    """The commands under hostile input and at any size: each case is a hole that was open."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="jinro-holes-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)

    def record(self, keys, seed=7):
        path = os.path.join(self.dir, "game%d.rec" % len(os.listdir(self.dir)))
        with open(path, "w", encoding="ascii") as record:
            record.write("jinro-record 1 %d\n%s" % (seed, keys))
        return path

    def run_jinro(self, args, limit=None, env=ENV, stdout=subprocess.PIPE):
        def preexec():
            if limit:
                resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
        return subprocess.run([harness.JINRO, *args], stdout=stdout, stderr=subprocess.PIPE,
                              env=env, timeout=120, stdin=subprocess.DEVNULL, preexec_fn=preexec)

    def test_a_review_is_printed_game_by_game_one_link_a_game(self):
        keys = "lz..r" * 600  # 61 games in 3,000 keys
        path = self.record(keys)
        process = subprocess.Popen([harness.JINRO, "--review", path, "--lang", "en"],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=ENV)
        first = process.stdout.readline()  # the first game comes before the review ends
        self.assertEqual(first, b"Game 1\n")
        self.assertIsNone(process.poll())
        out = first + process.stdout.read()
        self.assertEqual(process.wait(timeout=120), 0)
        process.stderr.close()
        process.stdout.close()
        links = re.findall(rb"\?seed=(\d+)&keys=([ijklzrIJKLZR.]*)&review=1\n", out)
        self.assertEqual(len(links), out.count(b"\nGame ") + 1)
        self.assertEqual(sum(len(k) for _, k in links) + len(links) - 1, len(keys))
        self.assertLess(len(out), 60 * len(keys))  # linear in the record

    def test_a_record_ending_in_r_reviews_no_empty_game(self):
        keys, _ = replay("auto", seed=7)
        out = self.run_jinro(["--review", self.record(keys.replace("x", ".")), "--lang", "en"])
        self.assertEqual(out.returncode, 0, out.stderr)
        self.assertNotIn(b"Game 2", out.stdout)

    def test_a_billion_games_in_constant_memory_stopped_by_ctrl_c(self):
        process = subprocess.Popen(
            [harness.JINRO, "--simulate", "1000000000", "--json"], stdout=subprocess.PIPE,
            stderr=subprocess.PIPE, env=ENV,
            preexec_fn=lambda: (resource.setrlimit(resource.RLIMIT_AS, (150 << 20, 150 << 20)),
                                signal.signal(signal.SIGINT, signal.SIG_DFL)))
        time.sleep(1.5)
        process.send_signal(signal.SIGINT)
        out, err = process.communicate(timeout=30)
        self.assertEqual(process.returncode, 130, err)
        report = json.loads(out)
        self.assertTrue(report["partial"])
        self.assertGreater(report["games"], 0)
        self.assertLess(report["games"], 1000000000)

    def test_progress_on_a_terminal(self):
        status, output = run_in_terminal(["--simulate", "3000000", "--lang", "en"], ENV)
        self.assertIn(b"games a second", output)
        self.assertRegex(output.decode(), r"of 3000000 games, the wolves won \d+\.\d%")

    def test_running_out_of_memory_is_one_line_and_status_1(self):
        # Under ever larger limits (below some, the program cannot even load): each run ends
        # well or says so in one line, never aborts; threads that cannot be had are done
        # without.
        story, review = self.record("lz..r" * 20000), self.record("lz..r" * 20)
        ran_out = 0
        for megabytes in range(3, 40):
            for args in (["--story", story], ["--review", review]):
                out = self.run_jinro(args, limit=megabytes << 20)
                if out.returncode == 127:
                    continue  # the dynamic libraries do not fit
                if out.returncode == 1:
                    self.assertEqual(out.stderr.decode(), "jinro: out of memory\n", megabytes)
                    ran_out += 1
                else:
                    self.assertEqual((out.returncode, out.stderr), (0, b""), (megabytes, args))
        self.assertGreater(ran_out, 0)

    def test_a_closed_output_is_a_failed_write(self):
        path = self.record("z..")
        for args in (["--review", path], ["--simulate", "5"], ["--story", path], ["--help"],
                     ["--version"]):
            result = subprocess.run([harness.JINRO, *args], stdout=subprocess.DEVNULL, env=ENV,
                                    stderr=subprocess.PIPE, timeout=60,
                                    preexec_fn=lambda: os.close(1))
            self.assertEqual(result.returncode, 1, args)
            self.assertEqual(result.stderr.decode(),
                             "jinro: standard output: cannot be written (Bad file descriptor)\n")

    def test_help_whatever_jinro_lang_and_file_errors_with_their_reason(self):
        help_ = self.run_jinro(["--help"], env=dict(ENV, JINRO_LANG="xx"))
        self.assertEqual(help_.returncode, 0)
        missing = self.run_jinro(["--review", "/nonexistent"])
        self.assertEqual(missing.returncode, 1)
        self.assertEqual(missing.stderr.decode(),
                         "jinro: /nonexistent: cannot be read (No such file or directory)\n")
        long = self.run_jinro(["--story", "/" + "d" * 5000 + "/end.rec"])
        line = long.stderr.decode()
        self.assertIn("...", line)
        self.assertIn("end.rec: cannot be read (File name too long)", line)
        self.assertLess(len(line), 200)

    def test_capitals_act_as_their_letters_and_are_recorded_as_typed(self):
        path = os.path.join(self.dir, "caps.rec")
        played = subprocess.run([harness.JINRO, "--seed", "7", "--record", path], input=b"LZxx",
                                capture_output=True, env=ENV, timeout=30)
        self.assertEqual(played.returncode, 0)
        self.assertEqual(plain_frames(played.stdout), replay("lzxx", seed=7)[1])
        with open(path, encoding="ascii") as record:
            self.assertEqual(record.read(), "jinro-record 2 7 ja\nLZ..")

    def test_a_record_keeps_its_language_and_an_old_record_still_reads(self):
        path = os.path.join(self.dir, "english.rec")
        keys, _ = replay("auto", seed=7)
        played = subprocess.run([harness.JINRO, "--seed", "7", "--lang", "en", "--record", path],
                                input=keys.encode(), capture_output=True, env=ENV, timeout=30)
        self.assertEqual(played.returncode, 0)
        with open(path, encoding="ascii") as record:
            self.assertTrue(record.read().startswith("jinro-record 2 7 en\n"))
        for args, said in ((["--review", path], "Game 1\n"), (["--story", path], "Day 2\n"),
                           (["--review", path, "--lang", "ja"], "ゲーム 1\n")):
            out = self.run_jinro(args)
            self.assertEqual(out.returncode, 0, out.stderr)
            self.assertIn(said, out.stdout.decode(), args)
        old = self.record(keys.replace("x", "."))  # the first version, without a language
        out = self.run_jinro(["--review", old])
        self.assertEqual(out.returncode, 0, out.stderr)
        self.assertTrue(out.stdout.decode().startswith("ゲーム 1\n"))

    def test_a_lie_is_recorded_with_its_rules_and_told_as_a_claim(self):
        path = os.path.join(self.dir, "lie.rec")
        played = subprocess.run([harness.JINRO, "--seed", "7", "--bluff", "--lang", "en",
                                 "--record", path], input=b"zSlb..", capture_output=True, env=ENV,
                                timeout=30)
        self.assertEqual(played.returncode, 0, played.stderr)
        with open(path, encoding="ascii") as record:
            self.assertEqual(record.read(), "jinro-record 2 7 en bluff\nzSlb..")
        story = self.run_jinro(["--story", path]).stdout.decode()
        self.assertIn("Lily Se: Chamomile is a wolf", story)
        self.assertIn("&bluff=1", story)
        review = self.run_jinro(["--review", path]).stdout.decode()
        self.assertIn("Day 2, Lily's claim: chose the seer", review)
        self.assertIn("Day 2, Lily's seer result: chose Chamomile is a wolf", review)
        self.assertTrue(review.endswith("&bluff=1&review=1\n"), review[-100:])

    def test_practice_asks_each_marked_choice_and_counts_those_found(self):
        # The second attack of this game (Sage, the medium, where Dandelion the seer was
        # best) is its only marked choice; the cursor stands on Sage as it did.
        path = self.record("z..lzz..jjz.")
        for keys, said in ((b"llllzx", "found 1 of 1"), (b"zx", "found 0 of 1")):
            result = subprocess.run([harness.JINRO, "--practice", path, "--lang", "en"],
                                    input=keys, capture_output=True, env=ENV, timeout=120)
            self.assertEqual(result.returncode, 0, result.stderr)
            text = result.stdout.decode()
            self.assertIn("Practice 1 of 1: what would you choose?", text)
            self.assertIn("Found: Dandelion" if said.startswith("found 1") else "Not this time",
                          text)
            self.assertTrue(text.endswith("Practice: %s.\n" % said), text[-200:])
        nothing = self.run_jinro(["--practice", self.record("lz..")])
        self.assertEqual(nothing.returncode, 0)
        self.assertIn("練習するものはありません", nothing.stdout.decode())

    def test_a_replay_says_when_it_starts_and_hands_over(self):
        path = self.record("z..lz")
        result = subprocess.run([harness.JINRO, "--replay", path, "--lang", "en"], input=b"",
                                capture_output=True, env=ENV, timeout=30)
        self.assertEqual(result.returncode, 0)
        lines = result.stderr.decode().splitlines()
        self.assertEqual(len(lines), 2, lines)
        self.assertIn("replaying %s: 5 keys" % path, lines[0])
        self.assertIn("the replay of %s is over (5 keys)" % path, lines[1])


if __name__ == "__main__":
    harness.main(["libfaketime", "tmux"])
