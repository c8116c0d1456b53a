"""Orvanel.dll on its own under Wine + Xvfb, seen from outside.

The renderer starts over the fixture desktop, which it captures and shows still
until the first speed change (about 4 s after start), then tumbling against
black. Input that ends it: a key, a left click, a mouse movement of more than
30 pixels on both axes once the first timer tick has passed.
"""

import os
import time
import unittest

from PIL import Image

import harness
from fixture import pattern

TITLE = "Orvanel_Vexon"
ARTIFACTS = os.path.join(harness.ROOT, "build", "e2e-artifacts")
MOUSE_START = (500, 400)


def save(img, name):
    os.makedirs(ARTIFACTS, exist_ok=True)
    img.save(os.path.join(ARTIFACTS, name))


class RendererSession:
    """The fixture desktop, the mouse at MOUSE_START, and the renderer on top."""

    def __init__(self, s):
        self.s = s
        s.start_fixture_desktop()
        s.move_to(*MOUSE_START)
        self.started = time.monotonic()
        self.proc = s.start(s.dist("Orvanel.dll"))
        s.wait_window(TITLE, timeout=30, visible=True)
        self.shown = time.monotonic()

    def alive_after(self, seconds):
        """True when the renderer is still running `seconds` from now."""
        return self.proc.wait(seconds) is None

    def wait_since_shown(self, seconds):
        time.sleep(max(0.0, self.shown + seconds - time.monotonic()))


class RendererRun(unittest.TestCase):
    def test_still_picture_then_tumbling_then_key_ends(self):
        with harness.Session(1024, 768) as s:
            r = RendererSession(s)
            info = s.window_info(TITLE)
            self.assertEqual(info["class"], "OpenGL")
            # Full screen: popup, clip siblings and children, visible; app window.
            self.assertEqual(int(info["style"], 16), 0x86000000 | 0x10000000)
            self.assertEqual(int(info["exstyle"], 16) & 0x40000, 0x40000)
            self.assertEqual(info["rect"], "0,0,1024,768")

            desktop = pattern(1024, 768)
            s.wait_until(lambda: s.matches(desktop), timeout=3,
                         what="first frames showing the captured desktop")
            save(s.screenshot(), "renderer_still.png")

            # About 6 s after start the quad has turned and black shows round it.
            time.sleep(max(0.0, r.started + 6.0 - time.monotonic()))
            moved = s.screenshot()
            save(moved, "renderer_tumbling.png")
            self.assertGreater(harness.mean_difference(moved, desktop), 5.0)
            self.assertGreater(harness.black_fraction(moved), 0.02)

            s.key("space")
            self.assertEqual(r.proc.wait(1.0), 0, "a key press ends the renderer")
            s.wait_window(TITLE, timeout=2, gone=True)

    def test_input_that_ends_the_run(self):
        # Each in a fresh run: the action, when it is made after the window
        # shows, and how long the renderer may take to end after it.
        cases = [
            ("left click", 0.0, 1.0, lambda s: s.click(1)),
            ("31 by 31 after the first tick", 1.6, 1.0,
             lambda s: s.move_to(MOUSE_START[0] + 31, MOUSE_START[1] + 31)),
            # What Alt+F4 or a close box does: the default processing destroys
            # the window, and the renderer never runs on without it. Hiding a
            # window on an X server without a window manager makes Wine wait 2 s
            # for a withdrawal that never comes, hence the longer limit.
            ("a close request destroys the window", 0.3, 4.0,
             lambda s: s.probe("close", TITLE)),
        ]
        for name, delay, limit, action in cases:
            with self.subTest(name), harness.Session(1024, 768) as s:
                r = RendererSession(s)
                r.wait_since_shown(delay)
                action(s)
                self.assertEqual(r.proc.wait(limit), 0, name)

    def test_input_that_does_not_end_the_run(self):
        x0, y0 = MOUSE_START
        # In order, each in one run; the renderer must outlive every step. The
        # window shows before the renderer has read the cursor's start and about
        # a second before its first tick, so the first move waits a little; the
        # moves after the tick must come before the first speed change, which
        # ignores the mouse again until the next tick.
        moves = [
            ("a moment for the set-up to end", lambda s: time.sleep(0.45)),
            ("large move before the first tick", lambda s: s.move_to(x0 + 400, y0 + 300)),
            ("back to the start", lambda s: s.move_to(x0, y0)),
            ("wait for the first tick", lambda s: time.sleep(0.8)),
            ("200 pixels right", lambda s: s.move_to(x0 + 200, y0)),
            ("200 pixels down", lambda s: s.move_to(x0, y0 + 200)),
            ("30 by 30", lambda s: s.move_to(x0 + 30, y0 + 30)),
            ("30 by 30 up and left", lambda s: s.move_to(x0 - 30, y0 - 30)),
        ]
        buttons_and_keys = [
            ("right click", lambda s: s.click(3)),
            ("middle click", lambda s: s.click(2)),
            ("wheel", lambda s: (s.click(4), s.click(5))),
            ("F10, a system key", lambda s: s.key("F10")),
            ("Alt alone", lambda s: s.key("alt")),
            ("Alt+X", lambda s: s.key_with("alt", "x")),
        ]
        for steps in (moves, buttons_and_keys):
            with harness.Session(1024, 768) as s:
                r = RendererSession(s)
                for name, action in steps:
                    action(s)
                    self.assertTrue(r.alive_after(0.15), "%s ended the renderer" % name)
                if steps is moves:
                    self.assertLess(time.monotonic() - r.shown, 3.5,
                                    "the moves must come before the first speed change")

    def test_wide_screen_shows_whole_picture_at_three_quarters(self):
        with harness.Session(1280, 720) as s:
            RendererSession(s)
            expected = Image.new("RGB", (1280, 720))
            expected.paste(pattern(960, 540), (160, 90))
            s.wait_until(lambda: s.matches(expected), timeout=3,
                         what="the whole picture at 3/4 size, centred")
            shot = s.screenshot()
            save(shot, "renderer_wide.png")
            for box in [(0, 0, 1280, 80), (0, 640, 1280, 720), (0, 0, 150, 720),
                        (1130, 0, 1280, 720)]:
                self.assertGreater(harness.black_fraction(shot, box), 0.99, box)


if __name__ == "__main__":
    unittest.main()
