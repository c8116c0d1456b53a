"""End-to-end harness: a private X display and Wine prefix, the programs under
test started the way Windows starts them, and everything observed from outside.

Every test builds a `Session`; the session owns its Xvfb, the wineserver of its
prefix and every process it started, and ends all of them on exit, even when the
test failed. Nothing outside the session is touched: the display number is one
that Xvfb found free, the prefix is the test run's own (prepared once per run and
reused), and `wineserver -k` only reaches that prefix.

Environment:
  ORVANEL_DIST       folder holding Orvanel.scr and Orvanel.dll (built programs)
  ORVANEL_TESTBIN    folder holding the Windows helper programs of the tests
  ORVANEL_WINEPREFIX prefix to use (default: build/wineprefix beside this tree)
"""

import contextlib
import fcntl
import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image, ImageChops, ImageGrab, ImageStat

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))


def dist_dir():
    return os.environ.get("ORVANEL_DIST", os.path.join(ROOT, "build", "windows", "dist"))


def testbin_dir():
    return os.environ.get("ORVANEL_TESTBIN",
                          os.path.join(ROOT, "build", "windows", "tests", "e2e"))


def prefix_dir():
    return os.environ.get("ORVANEL_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))


def windows_path(path):
    """The path as a Windows program under Wine sees it (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_env(prefix, display):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        "WINEARCH": "win64",
        "WINEDEBUG": env.get("WINEDEBUG", "-all"),
        # No Mono or Gecko installer dialogs: the prefix has no use for them.
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "DISPLAY": display,
    })
    return env


# Bumped when the prefix's preparation changes, so older prefixes are remade.
PREFIX_VERSION = "2"

# Windows links its UI fonts to fonts with Japanese glyphs on every locale;
# Wine does so only under a Japanese one, so the prefix is given the links.
FONT_LINKS = ["Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "MS UI Gothic"]


def ensure_prefix(prefix=None):
    """Create the Wine prefix once; later calls (and parallel ones) reuse it."""
    prefix = prefix or prefix_dir()
    os.makedirs(os.path.dirname(prefix), exist_ok=True)
    marker = os.path.join(prefix, ".orvanel-ready")
    with open(prefix.rstrip("/") + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        ready = False
        if os.path.exists(marker):
            with open(marker) as f:
                ready = f.read().strip() == PREFIX_VERSION
        if not ready:
            shutil.rmtree(prefix, ignore_errors=True)
            with Xvfb(640, 480) as x:
                env = wine_env(prefix, x.display)
                quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=300, **quiet)
                key = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
                for face in FONT_LINKS:
                    subprocess.run(["wine", "reg", "add", key, "/v", face, "/t", "REG_MULTI_SZ",
                                    "/d", "ipag.ttf,IPAGothic", "/f"], env=env, check=True,
                                   timeout=120, **quiet)
                subprocess.run(["wineserver", "-w"], env=env, timeout=120)
            with open(marker, "w") as f:
                f.write(PREFIX_VERSION + "\n")
    return prefix


class Xvfb:
    """A private X server on a display number it chose itself."""

    def __init__(self, width=1024, height=768, depth=24):
        self.geometry = "%dx%dx%d" % (width, height, depth)
        self.proc = None
        self.display = None

    def __enter__(self):
        r, w = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", self.geometry,
             "-nolisten", "tcp", "+extension", "GLX", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(w)
        number = b""
        deadline = time.monotonic() + 30
        with os.fdopen(r, "rb") as pipe:
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.__exit__(None, None, None)
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        return self

    def __exit__(self, *exc):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class Proc:
    """A Windows program started by a session (the wine loader's process)."""

    def __init__(self, popen, name):
        self.popen = popen
        self.name = name

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """Exit code, or None if still running after `timeout` seconds."""
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def wait_gone(self, timeout):
        """Seconds until the process ended (measured here), or None."""
        start = time.monotonic()
        code = self.wait(timeout)
        return None if code is None else time.monotonic() - start


class Session:
    """One test's display, prefix and processes.

        with Session(1024, 768) as s:
            desk = s.start_fixture_desktop()
            r = s.start(s.dist("Orvanel.dll"))
            s.wait_window("Orvanel_Vexon")
    """

    def __init__(self, width=1024, height=768, prefix=None, env=None):
        self.width, self.height = width, height
        self.prefix = prefix
        self.extra_env = env or {}
        self.procs = []
        self.stack = contextlib.ExitStack()
        self.tmp = None

    # -- set-up and clean-up -------------------------------------------------
    def __enter__(self):
        try:
            self.prefix = ensure_prefix(self.prefix)
            self.x = self.stack.enter_context(Xvfb(self.width, self.height))
            self.env = wine_env(self.prefix, self.x.display)
            self.env.update(self.extra_env)
            self.tmp = tempfile.mkdtemp(prefix="orvanel-e2e-")
            # A wineserver left by an earlier test may still hold another display.
            self.wineserver_kill()
        except BaseException:
            self.stack.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for p in self.procs:
            if p.running():
                with contextlib.suppress(ProcessLookupError, PermissionError):
                    os.killpg(p.pid, signal.SIGKILL)
                p.wait(5)
        self.wineserver_kill()
        self.stack.close()
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
            self.tmp = None

    def wineserver_kill(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # -- programs -----------------------------------------------------------
    @staticmethod
    def dist(name):
        return os.path.join(dist_dir(), name)

    @staticmethod
    def testbin(name):
        return os.path.join(testbin_dir(), name)

    def start(self, exe, *args, cwd=None, env=None, quiet=True, log=None):
        """Start a Windows program under Wine, as its own process group.

        Its output goes nowhere (quiet), to ours (quiet=False), or to the file
        `log` (for Wine's own traces, asked for with WINEDEBUG in `env`)."""
        e = dict(self.env)
        if env:
            e.update(env)
        out = subprocess.DEVNULL if quiet else None
        log_file = open(log, "wb") if log else None
        if log_file:
            out = log_file
        popen = subprocess.Popen(["wine", exe, *args], env=e,
                                 cwd=cwd or os.path.dirname(exe) or None,
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                 start_new_session=True)
        if log_file:
            log_file.close()
        p = Proc(popen, os.path.basename(exe))
        self.procs.append(p)
        return p

    def start_fixture_desktop(self):
        """Paint the known test pattern over the whole screen and wait for it."""
        p = self.start(self.testbin("fixture_desktop.exe"))
        self.wait_window("Orvanel fixture desktop", timeout=60)
        self.wait_until(lambda: self.matches(fixture_pattern(self.width, self.height)),
                        timeout=30, what="fixture desktop painted")
        return p

    def programs_running(self, *names):
        """Process ids of this prefix's processes whose command line names one of
        `names` (case-insensitive), such as "Orvanel.scr"."""
        found = []
        wanted = [n.lower().encode() for n in names]
        prefix = ("WINEPREFIX=" + self.prefix).encode()
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    cmdline = f.read().lower()
                with open("/proc/%s/environ" % entry, "rb") as f:
                    environ = f.read().split(b"\0")
            except OSError:
                continue
            if prefix in environ and any(w in cmdline for w in wanted):
                found.append(int(entry))
        return found

    def run(self, exe, *args, timeout=120, cwd=None):
        """Run a Windows program to its end; returns its exit code."""
        p = self.start(exe, *args, cwd=cwd)
        code = p.wait(timeout)
        if code is None:
            raise AssertionError("%s did not end within %s s" % (exe, timeout))
        return code

    def probe(self, *args):
        """Run probe.exe inside the session; returns (exit code, output)."""
        r = subprocess.run(["wine", self.testbin("probe.exe"), *args], env=self.env,
                           capture_output=True, timeout=60)
        return r.returncode, r.stdout.decode("utf-8", "replace").replace("\r\n", "\n")

    def window_info(self, title):
        """Win32 facts of the window titled `title`: class, style, exstyle, rect, visible."""
        code, out = self.probe("info", title)
        if code != 0:
            return None
        return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)

    # -- windows and input --------------------------------------------------
    def xdotool(self, *args, check=False):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                           text=True, timeout=30)
        if check and r.returncode != 0:
            raise AssertionError("xdotool %s failed: %s" % (" ".join(args), r.stderr))
        return r.stdout

    def find_windows(self, title, visible=False):
        """X window ids whose title is exactly `title` (only mapped ones if `visible`).

        Wine makes the X window when the Win32 window is created, hidden or not,
        so a window that must be on screen is looked for with visible=True."""
        pattern = "^" + "".join(map(_regex_char, title)) + "$"
        args = ["search", "--onlyvisible"] if visible else ["search"]
        out = self.xdotool(*args, "--name", pattern)
        return [int(w) for w in out.split()]

    def window_exists(self, title):
        return bool(self.find_windows(title))

    def wait_window(self, title, timeout=30, gone=False, visible=False):
        """Wait for a window titled exactly `title` (or for its end, gone=True)."""
        found = []

        def check():
            found[:] = self.find_windows(title, visible)
            return bool(found) != gone

        self.wait_until(check, timeout, "window %r %s" % (title, "gone" if gone else "shown"))
        return found[0] if found else None

    def wait_until(self, predicate, timeout, what="condition", interval=0.05):
        deadline = time.monotonic() + timeout
        while True:
            if predicate():
                return
            if time.monotonic() > deadline:
                raise AssertionError("timed out after %s s waiting for %s" % (timeout, what))
            time.sleep(interval)

    def window_class(self, wid):
        r = subprocess.run(["xprop", "-id", str(wid), "WM_CLASS"], env=self.env,
                           capture_output=True, text=True, timeout=30)
        return r.stdout

    def key(self, keysym):
        self.xdotool("key", "--clearmodifiers", keysym, check=True)

    def key_with(self, modifier, keysym):
        """A key pressed while a modifier is held (Wine misses xdotool's "alt+F4")."""
        self.xdotool("keydown", modifier, check=True)
        self.xdotool("key", keysym, check=True)
        self.xdotool("keyup", modifier, check=True)

    def click(self, button=1):
        self.xdotool("click", str(button), check=True)

    def move_to(self, x, y):
        self.xdotool("mousemove", "--sync", str(x), str(y), check=True)

    def move_by(self, dx, dy):
        self.xdotool("mousemove_relative", "--sync", "--", str(dx), str(dy), check=True)

    # -- pictures -----------------------------------------------------------
    def screenshot(self, save_as=None):
        img = ImageGrab.grab(xdisplay=self.x.display).convert("RGB")
        if save_as:
            img.save(save_as)
        return img

    def matches(self, expected, tolerance=12.0):
        return mean_difference(self.screenshot(), expected) <= tolerance


def _regex_char(c):
    """One character of a title as a literal in xdotool's (POSIX extended) regex.
    A backslash before "<" would make a word boundary, so brackets are used."""
    if c.isalnum():
        return c
    if c in "]^-\\":
        return "\\" + c
    return "[" + c + "]"


def mean_difference(a, b):
    """Mean absolute difference per channel, 0 (same) to 255."""
    if a.size != b.size:
        b = b.resize(a.size)
    diff = ImageChops.difference(a.convert("RGB"), b.convert("RGB"))
    return sum(ImageStat.Stat(diff).mean) / 3.0


def black_fraction(img, box=None, threshold=16):
    """Share of pixels (in `box`, default all) whose channels are all below threshold."""
    region = img.crop(box) if box else img
    gray = region.convert("L").point(lambda v: 255 if v < threshold else 0)
    hist = gray.histogram()
    return hist[255] / float(region.size[0] * region.size[1])


def fixture_pattern(width, height):
    """The picture that fixture_desktop.exe paints; kept in step with it."""
    from fixture import pattern
    return pattern(width, height)
