"""Background music, for real: the music module's players under Wine, played
through a private PulseAudio server whose null sink is recorded.

The driver program (music_driver.exe) makes the module's calls with the run-mode
form's timing and prints one line per step; each test lines those steps up with
the recording and asserts on what was heard: sound while playing, silence after
the stop, and where each restart of the MP3 begins.
"""

import array
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import wave

from harness import Proc, Session, windows_path
from sound import SoundServer

HEARD = 0.05     # RMS of a window in which the tone is heard (the tones play at about 0.34)
SILENT = 0.005   # RMS of a silent window
WINDOW = 0.05    # seconds per window when looking for the ends of a sound


def write_tone(path, parts, rate=44100, amplitude=0.5):
    """A mono 16-bit WAV file of consecutive sine tones: parts = [(hz, seconds), ...]."""
    samples = array.array("h")
    for hz, seconds in parts:
        for i in range(int(rate * seconds)):
            samples.append(int(amplitude * 32767 * math.sin(2 * math.pi * hz * i / rate)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(samples.tobytes())


class DriverRun:
    """music_driver.exe under a session, its output lines stamped on arrival."""

    def __init__(self, session, *args):
        self.lines = []
        self.popen = subprocess.Popen(
            ["wine", session.testbin("music_driver.exe"), *args], env=session.env,
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            text=True, start_new_session=True)
        # The session ends it with everything else it started.
        session.procs.append(Proc(self.popen, "music_driver.exe"))
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.popen.stdout:
            self.lines.append((time.monotonic(), line.strip()))

    def wait(self, timeout):
        code = self.popen.wait(timeout)
        self.reader.join(5)
        self.popen.stdout.close()
        return code

    def at(self, text):
        """When the driver printed `text` (the first time)."""
        for t, line in self.lines:
            if line == text:
                return t
        raise AssertionError("driver never printed %r; it printed %r"
                             % (text, [l for _, l in self.lines]))

    def printed(self):
        return [line for _, line in self.lines]


def sounds(rec, t0, t1):
    """The spans [start, end) of [t0, t1) in which a tone is heard."""
    spans = []
    start = None
    t = t0
    while t + WINDOW <= t1:
        loud = rec.rms(t, t + WINDOW) > HEARD
        if loud and start is None:
            start = t
        elif not loud and start is not None:
            spans.append((start, t))
            start = None
        t += WINDOW
    if start is not None:
        spans.append((start, t))
    # A short drop-out inside one tone (a busy machine) is not an end: join
    # spans whose sound goes on at the same pitch across a short break. A
    # restart goes from the high tone back to the low one.
    joined = spans[:1]
    for start, finish in spans[1:]:
        last_start, last_finish = joined[-1]
        same_pitch = abs(rec.frequency(last_finish - 0.15, last_finish)
                         - rec.frequency(start, start + 0.15)) < 100
        if start - last_finish < 0.25 and same_pitch:
            joined[-1] = (last_start, finish)
        else:
            joined.append((start, finish))
    return joined


def describe(rec, t0, t1):
    return " ".join("%.1f:%.2f" % (t - t0, r) for t, r in rec.profile(t0, t1, 0.2))


class MusicTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder_root = tempfile.mkdtemp(prefix="orvanel-music-")
        cls.folder = os.path.join(cls.folder_root, "My Music")
        os.makedirs(cls.folder)
        # About 2 s: one second at 440 Hz, then one at 880 Hz, so a restart can
        # be told from a play that goes on where it was.
        tones = os.path.join(cls.folder, "two tones.wav")
        write_tone(tones, [(440, 1.0), (880, 1.0)])
        cls.mp3 = os.path.join(cls.folder, "two tones.mp3")
        subprocess.run(["lame", "--quiet", "-b", "128", tones, cls.mp3], check=True, timeout=60)
        cls.wav = os.path.join(cls.folder, "loop tone.wav")
        write_tone(cls.wav, [(660, 1.0)])
        cls.junk = os.path.join(cls.folder, "not music.mp3")
        with open(cls.junk, "wb") as f:
            f.write(random.Random(20261211).randbytes(48000))
        cls.pulse = SoundServer().__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.pulse.__exit__(None, None, None)
        shutil.rmtree(cls.folder_root, ignore_errors=True)

    def session(self, with_sound=True):
        if with_sound:
            return Session(640, 480, env=self.pulse.env)
        # A server that is not there: Wine finds no sound output at all.
        nowhere = os.path.join(self.folder_root, "no-server")
        os.makedirs(nowhere, exist_ok=True)
        return Session(640, 480, env={"PULSE_SERVER": "unix:" + os.path.join(nowhere, "native"),
                                      "XDG_RUNTIME_DIR": nowhere})

    def test_mp3_in_a_folder_with_a_blank_loops_from_its_start_and_stops(self):
        with self.session() as s, self.pulse.record() as rec:
            run = DriverRun(s, "mp3", windows_path(self.mp3), "8", "2")
            self.assertEqual(run.wait(90), 0)
            opened, stopped, end = run.at("opened"), run.at("stopped"), run.at("end")
            trace = describe(rec, opened - 0.5, end)
            spans = sounds(rec, opened - 0.5, stopped)
            self.assertGreaterEqual(len(spans), 3, "plays and restarts: " + trace)
            # Every play but the last (cut by the stop) is the whole file.
            for start, finish in spans[:-1]:
                self.assertAlmostEqual(finish - start, 2.0, delta=0.3, msg=trace)
            polls = [t for t, line in run.lines if line == "poll"]
            figures = []
            for (_, finish), (start, _) in zip(spans, spans[1:]):
                # The poll that restarted it, the last before the sound came
                # back, comes within a second of the end being heard...
                restart = max([p for p in polls if p <= start], default=None)
                self.assertIsNotNone(restart, "a poll before the restart: " + trace)
                figures.append((start - finish, restart - finish, start - restart))
                self.assertLess(restart - finish, 1.05, "poll after the end: " + trace)
                # ...and the sound starts again at once, from its beginning.
                self.assertLess(start - restart, 0.6, "restart after the poll: " + trace)
                self.assertAlmostEqual(rec.frequency(start + 0.1, start + 0.6), 440, delta=40,
                                       msg="a restart begins at 440 Hz: " + trace)
            print("\nMP3 restarts (silence, end to poll, poll to sound): %s"
                  % "; ".join("%.2f %.2f %.2f s" % f for f in figures), file=sys.stderr)
            for start, finish in spans[:-1]:
                self.assertAlmostEqual(rec.frequency(finish - 0.6, finish - 0.1), 880,
                                       delta=40, msg="a play ends at 880 Hz: " + trace)
            self.assertLess(rec.rms(stopped + 0.3, end - 0.05), SILENT,
                            "silent after the stop: " + trace)

    def test_wav_loops_with_no_poll_and_stops(self):
        with self.session() as s, self.pulse.record() as rec:
            run = DriverRun(s, "wav", windows_path(self.wav), "4.5", "2")
            self.assertEqual(run.wait(90), 0)
            self.assertIn("devices 2", run.printed())
            looping, stopped, end = run.at("looping"), run.at("stopped"), run.at("end")
            trace = describe(rec, looping - 0.5, end)
            spans = sounds(rec, looping - 0.2, stopped)
            self.assertTrue(spans, "heard: " + trace)
            # One second of sound, heard without a break for well over three.
            first, last = spans[0][0], spans[-1][1]
            self.assertGreater(last - first, 3.0, "loops: " + trace)
            for t in [first + 0.25 * i for i in range(int((last - first - 0.3) / 0.25))]:
                self.assertGreater(rec.rms(t, t + 0.25), HEARD, "no break at %.2f: %s"
                                   % (t - looping, trace))
            self.assertLess(rec.rms(stopped + 0.3, end - 0.05), SILENT,
                            "silent after the stop: " + trace)

    def test_without_a_sound_server_nothing_plays_and_nothing_fails(self):
        with self.session(with_sound=False) as s, self.pulse.record() as rec:
            for player, path in (("wav", self.wav), ("mp3", self.mp3)):
                with self.subTest(player=player):
                    run = DriverRun(s, player, windows_path(path), "2", "0.5")
                    self.assertEqual(run.wait(90), 0)
                    if player == "wav":
                        self.assertIn("devices 0", run.printed())
                    self.assertEqual(run.printed()[-2:], ["stopped", "end"])
                    self.assertLess(rec.rms(run.at("start"), run.at("end")), SILENT)

    def test_cd_without_a_drive_ends_polling_at_the_first_poll(self):
        with self.session() as s, self.pulse.record() as rec:
            for repeat in ("0", "3"):
                with self.subTest(repeat=repeat):
                    run = DriverRun(s, "cd", repeat, "5")
                    self.assertEqual(run.wait(60), 0)
                    # No further poll, and no stop once polling has ended.
                    self.assertEqual(run.printed(), ["opened", "poll 1 active 0", "end"])
                    self.assertLess(rec.rms(run.at("opened"), run.at("end")), SILENT)

    def test_random_bytes_named_mp3_play_nothing_and_fail_quietly(self):
        with self.session() as s, self.pulse.record() as rec:
            run = DriverRun(s, "mp3", windows_path(self.junk), "3", "0.5")
            self.assertEqual(run.wait(90), 0)
            # The poll ran on every tick against the alias that never opened.
            self.assertEqual(run.printed(), ["start", "opened", "poll", "poll", "poll",
                                             "stopped", "end"])
            self.assertLess(rec.rms(run.at("start"), run.at("end")), SILENT,
                            describe(rec, run.at("start"), run.at("end")))


if __name__ == "__main__":
    unittest.main()
