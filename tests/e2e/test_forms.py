"""Forms layer seen from outside: what picture boxes, labels and images draw,
and what stays after a window covered them.

Uses forms_probe.exe (tests/host/forms/forms_probe.cpp), which puts its
controls at fixed places of a form at 0, 0.
"""

import os
import unittest

from harness import Session


RED = (255, 0, 0)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)
YELLOW = (255, 255, 0)
CHECKER = {(0, 0, 192), (0, 160, 0)}


def colours(img, box):
    """Set of the colours in a box (left, top, right, bottom)."""
    return {c for _, c in img.crop(box).getcolors(maxcolors=1 << 16)}


def share(img, box, colour):
    region = img.crop(box)
    counts = dict((c, n) for n, c in region.getcolors(maxcolors=1 << 16))
    return counts.get(colour, 0) / float(region.size[0] * region.size[1])


# Screen boxes of the probe (see forms_probe.cpp).
KEPT_BLOCK = (40, 40, 120, 100)    # red block in the box with a persistent image
LOST_BLOCK = (220, 40, 300, 100)   # red block in the box without
LABEL_AREA = (20, 190, 180, 250)   # label over the checker picture
IMAGE_AREA = (200, 160, 280, 220)  # 4 x 3 picture stretched to 80 x 60


class FormsDrawing(unittest.TestCase):

    def setUp(self):
        self.session = Session(640, 480)
        self.session.__enter__()
        self.addCleanup(self.session.close)
        self.shots = os.environ.get("ORVANEL_SHOTS")

    def shot(self, name):
        path = os.path.join(self.shots, name) if self.shots else None
        return self.session.screenshot(path)

    def start_probe(self):
        s = self.session
        s.start(s.testbin("forms_probe.exe"), "paint")
        s.wait_window("Forms probe", timeout=60)
        # Both blocks are drawn once, half a second after the form shows.
        s.wait_until(lambda: share(s.screenshot(), LOST_BLOCK, RED) > 0.99, timeout=30,
                     what="both red blocks drawn")
        s.wait_until(lambda: share(s.screenshot(), KEPT_BLOCK, RED) > 0.99, timeout=30,
                     what="persistent block shown")

    def test_persistent_image_survives_being_covered(self):
        s = self.session
        self.start_probe()
        self.shot("forms_before_cover.png")
        s.start(s.testbin("forms_probe.exe"), "cover")
        s.wait_window("Forms cover", timeout=60)
        s.wait_until(lambda: share(s.screenshot(), KEPT_BLOCK, MAGENTA) > 0.99, timeout=10,
                     what="cover over the picture boxes")
        self.shot("forms_covered.png")
        s.wait_window("Forms cover", gone=True, timeout=30)
        s.wait_until(lambda: share(s.screenshot(), LOST_BLOCK, WHITE) > 0.99, timeout=10,
                     what="uncovered boxes painted again")
        after = self.shot("forms_after_cover.png")
        # The box with the persistent image shows its block again; the one
        # without repainted only its back colour.
        self.assertGreater(share(after, KEPT_BLOCK, RED), 0.99)
        self.assertEqual(share(after, LOST_BLOCK, RED), 0.0)
        self.assertGreater(share(after, (20, 20, 180, 40), WHITE), 0.99)

    def test_label_draws_transparent_text_over_a_picture(self):
        self.start_probe()
        img = self.shot("forms_label.png")
        found = colours(img, LABEL_AREA)
        # Yellow glyphs, and between them the picture shows through: both
        # checker colours and nothing of a label background.
        self.assertIn(YELLOW, found)
        self.assertTrue(CHECKER <= found, found)
        self.assertGreater(share(img, LABEL_AREA, YELLOW), 0.05)
        self.assertLess(share(img, LABEL_AREA, YELLOW), 0.6)
        # Away from the text only the picture.
        self.assertEqual(colours(img, (20, 160, 180, 185)), CHECKER)

    def test_image_draws_its_picture_stretched(self):
        self.start_probe()
        img = self.shot("forms_image.png")
        # Four columns of 20 pixels: red, green, blue, white.
        for i, colour in enumerate([RED, (0, 255, 0), (0, 0, 255), WHITE]):
            box = (200 + 20 * i + 2, 162, 200 + 20 * i + 18, 218)
            self.assertGreater(share(img, box, colour), 0.99, colour)
        # The outline: white frame, inside the form's back colour.
        self.assertEqual(img.getpixel((290, 190)), WHITE)
        self.assertEqual(img.getpixel((325, 190)), (0, 0, 64))


if __name__ == "__main__":
    unittest.main()
