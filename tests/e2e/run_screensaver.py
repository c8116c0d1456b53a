"""`make run`: show the screensaver under Wine.

With a display ($DISPLAY) it runs there until the screensaver ends on a key, a
click or a large mouse movement. Without one it runs on a private Xvfb over the
fixture desktop, saves a screenshot taken 6 s after the start to out/run.png and
ends it.
"""

import os
import subprocess
import sys
import time

import harness

ROOT = harness.ROOT
DIST = os.path.join(ROOT, "dist")


def main():
    program = os.path.join(DIST, "Orvanel.dll")
    args = []
    if os.environ.get("DISPLAY"):
        prefix = harness.ensure_prefix()
        env = harness.wine_env(prefix, os.environ["DISPLAY"])
        return subprocess.call(["wine", program, *args], env=env, cwd=DIST)

    out = os.path.join(ROOT, "out", "run.png")
    os.environ.setdefault("ORVANEL_TESTBIN",
                          os.path.join(ROOT, "build", "windows", "tests", "e2e"))
    with harness.Session(1024, 768) as s:
        s.start_fixture_desktop()
        p = s.start(program, *args, cwd=DIST)
        start = time.monotonic()
        time.sleep(max(0.0, 6.0 - (time.monotonic() - start)))
        s.screenshot(save_as=out)
        s.key("space")
        code = p.wait(10)
        print("screenshot 6 s after start: %s; exit code %s" % (out, code))
    return 0


if __name__ == "__main__":
    sys.exit(main())
