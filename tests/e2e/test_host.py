"""Orvanel.scr under Wine + Xvfb, started the way Windows starts it, with
Orvanel.dll beside it in a folder of the test's own.

Observed from outside: which windows appear, the message box's text, exit codes,
the cursor calls each process makes (Wine's own trace), the processes left, and
the music heard on a private sound server.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

import harness
from sound import SoundServer
from harness import windows_path
from test_music import HEARD, SILENT, write_tone

TITLE = "Orvanel_Vexon"
MISSING = "Orvanel.dll が同じﾌｫﾙﾀﾞに見つかりません！"
PROGRAMS = ("orvanel.scr", "orvanel.dll")


def write_settings(folder, mode, repeat=0, file=""):
    """Orvanel.ini as the settings dialog writes it: code page 932 key names."""
    text = "[Section]\r\nBGM区分= %d\r\nBGMﾘﾋﾟｰﾄ= %d\r\nBGMﾌｧｲﾙ=%s\r\n" % (mode, repeat, file)
    with open(os.path.join(folder, "Orvanel.ini"), "wb") as f:
        f.write(text.encode("cp932"))


def install(root, renderer="real"):
    """A folder with Orvanel.scr and, as asked, the real renderer, a text file
    under its name ("text"), or none."""
    folder = tempfile.mkdtemp(prefix="saver ", dir=root)
    shutil.copy(harness.Session.dist("Orvanel.scr"), folder)
    if renderer == "real":
        shutil.copy(harness.Session.dist("Orvanel.dll"), folder)
    elif renderer == "text":
        with open(os.path.join(folder, "Orvanel.dll"), "w") as f:
            f.write("not a program\n")
    return folder


def cursor_calls(log_path):
    """ShowCursor calls per Wine process, in order: {pid: [(show, count), ...]}."""
    calls = {}
    pattern = re.compile(r"^([0-9a-f]+):[0-9a-f]+:trace:cursor:NtUserShowCursor (\d+), count=(-?\d+)")
    with open(log_path, "rb") as f:
        for raw in f:
            m = pattern.match(raw.decode("latin-1"))
            if m:
                calls.setdefault(m.group(1), []).append((int(m.group(2)), int(m.group(3))))
    return calls


def heard_lately(rec, seconds=0.3):
    """True when the last `seconds` of the recording hold sound."""
    now = time.monotonic()
    try:
        return rec.rms(now - seconds - 0.05, now - 0.05) > HEARD
    except AssertionError:  # nothing has arrived for that span yet
        return False


class HostTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="orvanel-host-")
        cls.music = os.path.join(cls.root, "My Music")
        os.makedirs(cls.music)
        cls.wav = os.path.join(cls.music, "loop tone.wav")
        write_tone(cls.wav, [(660, 1.0)])
        tones = os.path.join(cls.music, "tones.wav")
        write_tone(tones, [(440, 1.0), (880, 1.0)])
        cls.mp3 = os.path.join(cls.music, "two tones.mp3")
        subprocess.run(["lame", "--quiet", "-b", "128", tones, cls.mp3], check=True, timeout=60)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def start_host(self, s, folder, *args, **kw):
        s.start_fixture_desktop()
        s.move_to(500, 400)
        return s.start(os.path.join(folder, "Orvanel.scr"), *args, cwd=folder, **kw)

    def assert_nothing_left(self, s):
        s.wait_until(lambda: not s.programs_running(*PROGRAMS), timeout=5,
                     what="no Orvanel process left")

    # -- command line --------------------------------------------------------
    def test_run_switches_hide_the_cursor_and_an_empty_line_leaves_it(self):
        cases = [("/s", True), ("/S", True), ("-s", True), (None, False)]
        for switch, hides in cases:
            with self.subTest(switch=switch), harness.Session() as s:
                folder = install(s.tmp)
                log = os.path.join(s.tmp, "trace.txt")
                args = [switch] if switch else []
                host = self.start_host(s, folder, *args, log=log,
                                       env={"WINEDEBUG": "-all,+pid,+cursor"})
                s.wait_window(TITLE, timeout=30, visible=True)
                self.assertTrue(host.running())
                time.sleep(0.5)
                s.key("space")
                self.assertEqual(host.wait(5), 0)
                self.assert_nothing_left(s)
                calls = cursor_calls(log)
                # The renderer hides the cursor once; the host hides it for /s only,
                # and gives it back at the end.
                expected = [[(0, -1)], [(0, -1), (1, 0)]] if hides else [[(0, -1)]]
                self.assertEqual(sorted(calls.values(), key=len), expected, calls)

    def test_other_command_lines_end_after_the_renderer_check(self):
        for line in ["/a", "x", "S", "/c", "/c:1234", "/p 1234"]:
            with self.subTest(line=line), harness.Session() as s:
                folder = install(s.tmp)
                host = self.start_host(s, folder, line)
                self.assertEqual(host.wait(20), 0)
                self.assertFalse(s.window_exists(TITLE))
                self.assertFalse(s.window_exists("Orvanel"), "no message box")

    def test_renderer_missing_shows_the_message_and_ends_when_dismissed(self):
        for line in ["/s", "/c", "", "/a"]:
            with self.subTest(line=line), harness.Session() as s:
                folder = install(s.tmp, renderer=None)
                host = self.start_host(s, folder, *([line] if line else []))
                s.wait_window("Orvanel", timeout=20)
                code, texts = s.probe("text", "Orvanel")
                self.assertEqual(code, 0)
                self.assertIn(MISSING, texts)
                self.assertTrue(host.running(), "waits for the message to be dismissed")
                self.assertEqual(s.probe("press", "Orvanel", "1")[0], 0)  # IDOK
                self.assertEqual(host.wait(10), 0)
                self.assertFalse(s.window_exists(TITLE))

    def test_another_instance_ends_a_new_start_at_once(self):
        for title in ["Orvanel_Main", "<Orvanel>", "Orvanel_Vexon"]:
            for line in ["/s", "/p 1234"]:
                with self.subTest(title=title, line=line), harness.Session() as s:
                    folder = install(s.tmp)
                    s.start(s.testbin("probe.exe"), "hold", title)
                    s.wait_window(title, timeout=20)
                    host = s.start(os.path.join(folder, "Orvanel.scr"), line, cwd=folder)
                    self.assertEqual(host.wait(20), 0)
                    self.assertEqual(len(s.find_windows(TITLE)), 1 if title == TITLE else 0)
                    self.assertFalse(s.window_exists("Orvanel"), "no message box")

    # -- run mode with music -------------------------------------------------
    def music_session(self, pulse):
        return harness.Session(env=pulse.env)

    def test_run_mode_plays_the_chosen_music_until_the_key_press(self):
        cases = [
            # settings, heard while running
            ("WAV", dict(mode=2, file=windows_path(self.wav)), True),
            ("MP3 in a folder with a blank", dict(mode=2, file=windows_path(self.mp3)), True),
            ("no music", dict(mode=0), False),
            ("mode 5", dict(mode=5, file=windows_path(self.wav)), False),
            ("CD without a drive", dict(mode=1, repeat=3), False),
        ]
        with SoundServer() as pulse:
            for name, settings, heard in cases:
                with self.subTest(name), self.music_session(pulse) as s, pulse.record() as rec:
                    folder = install(s.tmp)
                    write_settings(folder, **settings)
                    host = self.start_host(s, folder, "/s")
                    s.wait_window(TITLE, timeout=30, visible=True)
                    shown = time.monotonic()
                    if heard:
                        # The MP3 decoder takes a few seconds to start under Wine.
                        s.wait_until(lambda: heard_lately(rec), timeout=10,
                                     what="the music heard", interval=0.1)
                    else:
                        time.sleep(4.0)
                        self.assertLess(rec.rms(shown, time.monotonic()), SILENT,
                                        "nothing heard")
                    self.assertTrue(host.running())

                    s.key("space")
                    pressed = time.monotonic()
                    self.assertEqual(host.wait(2), 0)
                    time.sleep(1.0)
                    self.assertLess(rec.rms(pressed + 0.35, pressed + 1.0), SILENT,
                                    "silent after the end")
                    self.assert_nothing_left(s)

    def test_a_renderer_that_cannot_start_stops_the_music_and_ends_the_host(self):
        with SoundServer() as pulse, self.music_session(pulse) as s, pulse.record() as rec:
            folder = install(s.tmp, renderer="text")
            write_settings(folder, mode=2, file=windows_path(self.wav))
            start = time.monotonic()
            host = self.start_host(s, folder, "/s")
            self.assertEqual(host.wait(10), 0)
            ended = time.monotonic()
            time.sleep(1.0)
            self.assertLess(rec.rms(ended + 0.35, ended + 1.0), SILENT)
            self.assertFalse(s.window_exists(TITLE))
            self.assertLess(ended - start, 10)
            self.assert_nothing_left(s)

    def test_a_close_request_stops_the_music_and_ends_the_host(self):
        with SoundServer() as pulse, self.music_session(pulse) as s, pulse.record() as rec:
            folder = install(s.tmp)
            write_settings(folder, mode=2, file=windows_path(self.wav))
            host = self.start_host(s, folder, "/s")
            s.wait_window(TITLE, timeout=30, visible=True)
            time.sleep(1.5)
            t0 = time.monotonic()
            time.sleep(0.5)
            self.assertGreater(rec.rms(t0, time.monotonic()), HEARD)

            self.assertEqual(s.probe("close", "Orvanel_Main")[0], 0)
            closed = time.monotonic()
            self.assertEqual(host.wait(5), 0)
            time.sleep(1.0)
            self.assertLess(rec.rms(closed + 0.5, closed + 1.0), SILENT)
            # The renderer is the user's to end; then nothing is left.
            s.key("space")
            self.assert_nothing_left(s)


if __name__ == "__main__":
    unittest.main()
