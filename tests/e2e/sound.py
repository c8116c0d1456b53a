"""A private sound server for the music tests, and a recorder of what it plays.

    with SoundServer() as pulse:
        with Session(env=pulse.env) as s, pulse.record() as rec:
            ...
            assert rec.rms(t0, t1) > 0.05

The server is a PulseAudio of its own (own runtime, home and config folders,
no default script, no idle exit) with one null sink, `orvanel_sink`, which is
the default, so whatever Wine plays goes there. Its monitor is recorded with a
short latency (the default loses a second or more); every chunk is stamped
with time.monotonic() when it arrives, so windows of the recording can be
lined up with the steps of the program under test. Everything started here is
ended here, by its own process id.
"""

import array
import math
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time

SINK = "orvanel_sink"
RATE = 16000


def end_process_group(proc):
    """Ends a process started in its own session, politely first."""
    if proc and proc.poll() is None:
        os.killpg(proc.pid, signal.SIGTERM)
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()


class SoundServer:
    def __init__(self):
        self.root = None
        self.proc = None
        self.recorders = []

    @property
    def socket(self):
        return os.path.join(self.root, "run", "pulse", "native")

    @property
    def env(self):
        """What a client (wine, parec) needs to find this server."""
        return {
            "PULSE_SERVER": "unix:" + self.socket,
            "XDG_RUNTIME_DIR": os.path.join(self.root, "run"),
            "PULSE_CLIENTCONFIG": os.path.join(self.root, "client.conf"),
        }

    def _server_env(self):
        env = dict(os.environ)
        env.update(self.env)
        env.update({
            "HOME": os.path.join(self.root, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_STATE_HOME": os.path.join(self.root, "state"),
        })
        env.pop("DISPLAY", None)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return env

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="orvanel-pulse-")
        for d in ("run/pulse", "home", "config", "state"):
            os.makedirs(os.path.join(self.root, d), mode=0o700)
        with open(os.path.join(self.root, "client.conf"), "w") as f:
            f.write("autospawn = no\n")
        try:
            self.log = open(os.path.join(self.root, "pulse.log"), "w")
            self.proc = subprocess.Popen(
                ["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
                 "--use-pid-file=no", "--disallow-exit", "--log-target=stderr",
                 "--load=module-native-protocol-unix auth-anonymous=1 socket=" + self.socket,
                 "--load=module-null-sink sink_name=%s rate=44100" % SINK,
                 "--load=module-always-sink"],
                env=self._server_env(), stdin=subprocess.DEVNULL, stdout=self.log,
                stderr=self.log, start_new_session=True)
            deadline = time.monotonic() + 20
            while not self._ready():
                if self.proc.poll() is not None or time.monotonic() > deadline:
                    raise RuntimeError("pulseaudio did not start: " + self._log_text())
                time.sleep(0.1)
            self.pactl("set-default-sink", SINK)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _log_text(self):
        with open(os.path.join(self.root, "pulse.log")) as f:
            return f.read()[-2000:]

    def _ready(self):
        if not os.path.exists(self.socket):
            return False
        r = self.pactl("info")
        return r.returncode == 0 and SINK in r.stdout

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self._server_env(), capture_output=True,
                              text=True, timeout=20)

    def record(self):
        rec = Recorder(self._server_env())
        self.recorders.append(rec)
        return rec

    def __exit__(self, *exc):
        for rec in self.recorders:
            rec.stop()
        self.recorders = []
        end_process_group(self.proc)
        self.proc = None
        if getattr(self, "log", None):
            self.log.close()
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None


class Recorder:
    """parec on the sink's monitor: mono 16-bit samples stamped on arrival."""

    def __init__(self, env):
        self.env = env
        self.proc = None
        self.chunks = []  # (arrival time, array of samples)
        self.lock = threading.Lock()
        self.thread = None

    def __enter__(self):
        self.proc = subprocess.Popen(
            ["parec", "--latency-msec=20", "-d", SINK + ".monitor", "--raw",
             "--format=s16le", "--rate=%d" % RATE, "--channels=1"],
            env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, start_new_session=True)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        # Recording runs once the first chunk (silence) has arrived.
        deadline = time.monotonic() + 10
        while not self.chunks:
            if time.monotonic() > deadline or self.proc.poll() is not None:
                self.stop()
                raise RuntimeError("parec recorded nothing")
            time.sleep(0.02)
        return self

    def __exit__(self, *exc):
        self.stop()

    def _read(self):
        pending = b""
        out = self.proc.stdout
        while True:
            data = os.read(out.fileno(), 4096)
            if not data:
                return
            now = time.monotonic()
            data = pending + data
            usable = len(data) - len(data) % 2
            pending = data[usable:]
            samples = array.array("h")
            samples.frombytes(data[:usable])
            with self.lock:
                self.chunks.append((now, samples))

    def stop(self):
        end_process_group(self.proc)
        if self.thread:
            self.thread.join(5)
            self.thread = None
        if self.proc and self.proc.stdout:
            self.proc.stdout.close()

    def samples(self, t0, t1):
        """Samples whose estimated time (arrival, less their place in the chunk) is in [t0, t1)."""
        out = array.array("h")
        with self.lock:
            chunks = list(self.chunks)
        for arrival, samples in chunks:
            first = arrival - len(samples) / RATE
            if arrival < t0 or first >= t1:
                continue
            a = max(0, int(math.ceil((t0 - first) * RATE)))
            b = min(len(samples), int(math.ceil((t1 - first) * RATE)))
            if a < b:
                out.extend(samples[a:b])
        return out

    def rms(self, t0, t1):
        """RMS of [t0, t1) relative to full scale (about 0.7 for a full-scale sine)."""
        s = self.samples(t0, t1)
        if not s:
            raise AssertionError("nothing recorded between %.2f and %.2f" % (t0, t1))
        return math.sqrt(sum(v * v for v in s) / len(s)) / 32768.0

    def frequency(self, t0, t1):
        """Rough frequency of [t0, t1) in Hz, from its zero crossings."""
        s = self.samples(t0, t1)
        crossings = sum(1 for a, b in zip(s, s[1:]) if (a < 0) != (b < 0))
        return crossings / 2.0 / (len(s) / RATE) if s else 0.0

    def profile(self, t0, t1, step=0.1):
        """(start, rms) of consecutive windows: for diagnostics and gap finding."""
        out = []
        t = t0
        while t + step <= t1 + 1e-9:
            out.append((t, self.rms(t, t + step)))
            t += step
        return out

    def now(self):
        return time.monotonic()
