"""`make run`: show the screensaver under Wine, as Windows starts it: `Orvanel.scr /s`
from dist/, with Orvanel.dll beside it.

With a display ($DISPLAY) it runs there until the screensaver ends on a key, a
click or a large mouse movement. Without one it runs on a private Xvfb over the
test desktop, saves a screenshot taken 6 s after the start to out/run.png and
ends it with a key press.
"""

import os
import subprocess
import sys
import time

import harness

ROOT = harness.ROOT
DIST = os.path.join(ROOT, "dist")


def main():
    host = os.path.join(DIST, "Orvanel.scr")
    if os.environ.get("DISPLAY"):
        prefix = harness.ensure_prefix()
        env = harness.wine_env(prefix, os.environ["DISPLAY"])
        return subprocess.call(["wine", host, "/s"], env=env, cwd=DIST)

    out = os.path.join(ROOT, "out", "run.png")
    os.environ.setdefault("ORVANEL_TESTBIN",
                          os.path.join(ROOT, "build", "windows", "tests", "e2e"))
    with harness.Session(1024, 768) as s:
        s.start_fixture_desktop()
        start = time.monotonic()
        p = s.start(host, "/s", cwd=DIST)
        s.wait_window("Orvanel_Vexon", timeout=30, visible=True)
        time.sleep(max(0.0, start + 6.0 - time.monotonic()))
        s.screenshot(save_as=out)
        s.key("space")
        code = p.wait(10)
        print("screenshot 6 s after start: %s; Orvanel.scr ended with exit code %s" % (out, code))
    return 0


if __name__ == "__main__":
    sys.exit(main())
