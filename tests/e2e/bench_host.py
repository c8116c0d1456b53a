"""Key press to host gone: the time from the key that ends the renderer to the
end of the Orvanel.scr process (the host's 100 ms watch plus its clean-up and
the process end). Median of five runs under Wine + Xvfb; printed, not asserted.
"""

import os
import statistics
import time

import harness
from test_host import install

RUNS = 5


def one_run():
    with harness.Session(1024, 768) as s:
        folder = install(s.tmp)
        s.start_fixture_desktop()
        host = s.start(os.path.join(folder, "Orvanel.scr"), "/s", cwd=folder)
        s.wait_window("Orvanel_Vexon", timeout=30, visible=True)
        time.sleep(1.5)
        pressed = time.monotonic()
        s.key("space")
        host.wait(10)
        return (time.monotonic() - pressed) * 1000.0


def main():
    times = [one_run() for _ in range(RUNS)]
    print("key press to host gone: median %.0f ms (runs: %s)"
          % (statistics.median(times), ", ".join("%.0f" % t for t in times)))


if __name__ == "__main__":
    main()
