"""Renderer figures under Wine + Xvfb + llvmpipe (printed, not asserted).

For each screen size, five runs of Orvanel.dll over the fixture desktop, each
writing its own timings (ORVANEL_RENDERER_TIMING): process start to first frame,
capture + conversion + upload, and frames per second over about 3 s. The frame
rate is set beside bare_quad.exe, one textured quad and nothing else.
"""

import os
import statistics
import subprocess
import tempfile
import time

import harness

RUNS = 5


def read_timing(path):
    values = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2:
                values[parts[0]] = [float(v) for v in parts[1::2]]
                if parts[0] == "frames" and len(parts) >= 4:
                    values["fps"] = [float(parts[1]) / float(parts[3])]
    return values


def renderer_run(width, height):
    with harness.Session(width, height) as s, tempfile.TemporaryDirectory() as tmp:
        timing = os.path.join(tmp, "timing.txt")
        s.start_fixture_desktop()
        p = s.start(s.dist("Orvanel.dll"), env={"ORVANEL_RENDERER_TIMING": harness.windows_path(timing)})
        s.wait_window("Orvanel_Vexon", timeout=30)
        time.sleep(3.0)
        s.key("space")
        p.wait(5)
        return read_timing(timing)


def bare_quad_fps(width, height):
    with harness.Session(width, height) as s:
        r = subprocess.run(["wine", s.testbin("bare_quad.exe"), "3"], env=s.env,
                           capture_output=True, text=True, timeout=60)
        parts = r.stdout.split()
        return float(parts[1]) / float(parts[3])


def main():
    for width, height in [(1024, 768), (1920, 1080)]:
        runs = [renderer_run(width, height) for _ in range(RUNS)]
        bare = statistics.median(bare_quad_fps(width, height) for _ in range(3))

        def median(key):
            values = [r[key][0] for r in runs if key in r]
            return statistics.median(values) if values else float("nan")

        fps = median("fps")
        print("%dx%d: start to first frame %.0f ms, capture+conversion+upload %.0f ms, "
              "%.1f frames/s (bare quad loop %.1f, ratio %.2f); medians of %d runs"
              % (width, height, median("first_frame_ms"), median("capture_upload_ms"),
                 fps, bare, fps / bare, RUNS))


if __name__ == "__main__":
    main()
