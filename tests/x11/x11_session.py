"""A private X session for the tests: Xvfb, openbox, trayer, a D-Bus session bus
with the accessibility bus launcher, and helpers to drive and inspect Radixpad in it.

Every wait is a poll with a deadline, and every external command runs with a
timeout, so that a stuck program fails a test instead of hanging the suite.
"""

import json
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TITLE = "Quillory Radixpad"
COMMAND_TIMEOUT = 10.0
# Bringing up the session and mapping the first window can take long on a busy 2-CPU
# machine (another build, a cold disk cache); these waits only cost time when slow.
STARTUP_TIMEOUT = float(os.environ.get("RADIXPAD_X11_STARTUP_TIMEOUT", "60"))
AT_SPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

# Program -> Debian package that provides it.
REQUIRED_TOOLS = {
    "Xvfb": "xvfb",
    "openbox": "openbox",
    "trayer": "trayer",
    "xdotool": "xdotool",
    "xclip": "xclip",
    "xprop": "x11-utils",
    "xwininfo": "x11-utils",
    "xmessage": "x11-utils",
    "import": "imagemagick",
    "identify": "imagemagick",
    "dbus-daemon": "dbus-daemon",
    "dbus-send": "dbus-bin",
}


def missing_tools():
    """The Debian packages whose programs are not installed."""
    missing = {pkg for tool, pkg in REQUIRED_TOOLS.items() if shutil.which(tool) is None}
    if not os.access(AT_SPI_LAUNCHER, os.X_OK):
        missing.add("at-spi2-core")
    probe = subprocess.run([sys.executable, "-c", "import gi; gi.require_version('Atspi', '2.0');"
                            "from gi.repository import Atspi"], capture_output=True, timeout=COMMAND_TIMEOUT)
    if probe.returncode != 0:
        missing.update({"python3-gi", "gir1.2-atspi-2.0"})
    return sorted(missing)


class PollTimeout(AssertionError):
    pass


def poll(what, probe, timeout=8.0, interval=0.1):
    """Calls probe until it returns a truthy value; returns that value. Fails with
    `what` and the last value seen when the deadline passes."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise PollTimeout("timed out after %.1f s waiting for %s (last seen: %r)" % (timeout, what, last))
        time.sleep(interval)


def end_process(proc, grace=3.0):
    """Terminates a process we started, then kills it if it does not end in time."""
    if proc is None or proc.poll() is not None:
        return
    try:
        proc.terminate()
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        try:
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            pass
    except ProcessLookupError:
        pass


def make_private_dirs(root):
    """HOME and the XDG folders inside root; returns the environment entries."""
    names = {
        "HOME": "home",
        "XDG_CONFIG_HOME": "config",
        "XDG_DATA_HOME": "data",
        "XDG_CACHE_HOME": "cache",
        "XDG_STATE_HOME": "state",
        "XDG_RUNTIME_DIR": "runtime",
        "XDG_CONFIG_DIRS": "etc-xdg",
        "TMPDIR": "tmp",
    }
    env = {}
    for key, name in names.items():
        path = os.path.join(root, name)
        os.makedirs(path, mode=0o700, exist_ok=True)
        os.chmod(path, 0o700)
        env[key] = path
    return env


class XSession:
    """Xvfb, a window manager, a tray host and the buses, until stop()."""

    def __init__(self, log_dir):
        self.log_dir = log_dir
        self.root = tempfile.mkdtemp(prefix="radixpad-x11-session-")
        self.procs = []
        self.env = None
        self.display = None

    # -- starting ---------------------------------------------------------------

    def start(self):
        try:
            self._start()
        except BaseException:
            self.stop()
            raise

    def _log(self, name):
        return open(os.path.join(self.log_dir, name + ".log"), "wb")

    def _spawn(self, name, argv, **kwargs):
        log = self._log(name)
        kwargs.setdefault("env", self.env)
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=log, stderr=log, **kwargs)
        log.close()
        self.procs.append((name, proc))
        return proc

    def _start(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("XDG_", "DBUS_", "AT_SPI_", "WAYLAND_", "QT_", "SESSION_MANAGER", "XAUTHORITY"))}
        env.update(make_private_dirs(self.root))
        self.env = env

        # Xvfb tells the display number it picked on a pipe.
        read_fd, write_fd = os.pipe()
        self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,))
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + STARTUP_TIMEOUT
        try:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                ready, _, _ = select.select([read_fd], [], [], max(0.0, left))
                if not ready:
                    raise RuntimeError("Xvfb did not report its display")
                chunk = os.read(read_fd, 64)
                if not chunk:
                    raise RuntimeError("Xvfb ended before reporting its display")
                number += chunk
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()
        env["DISPLAY"] = self.display
        self._await("xvfb", "the X server",
                    lambda: run(["xprop", "-root", "_NET_SUPPORTED"], env, check=False).returncode == 0 or None)

        # The session bus, at a socket of our own.
        bus_socket = os.path.join(self.root, "session-bus")
        self._spawn("dbus-session", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                     "--address=unix:path=" + bus_socket])
        env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus_socket
        self._await("dbus-session", "the session bus", lambda: self._bus_name_owned("org.freedesktop.DBus"))

        # The accessibility bus: its launcher must run on the session bus before the
        # program starts, and the program must not be given AT_SPI_BUS_ADDRESS.
        self._spawn("at-spi-bus-launcher", [AT_SPI_LAUNCHER, "--launch-immediately"])
        self._await("at-spi-bus-launcher", "the accessibility bus launcher",
                    lambda: self._bus_name_owned("org.a11y.Bus"))

        # openbox reads its configuration from the system's XDG folders.
        self._spawn("openbox", ["openbox", "--sm-disable"], env=dict(env, XDG_CONFIG_DIRS="/etc/xdg"))
        self._await("openbox", "the window manager (openbox)", lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in
                    run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env, check=False).stdout)

        self._spawn("trayer", ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                               "--width", "160", "--heighttype", "pixel", "--height", "32",
                               "--SetDockType", "true", "--SetPartialStrut", "true", "--expand", "false",
                               "--transparent", "false"])
        self.tray_window = self._await("trayer", "the tray host's window (trayer)", self.find_tray_window)

    def _await(self, name, what, probe):
        """Polls probe for up to STARTUP_TIMEOUT; fails at once, naming the process and
        the end of its log, when the process that should bring `what` up has ended."""
        proc = next(p for n, p in self.procs if n == name)

        def check():
            if proc.poll() is not None:
                raise PollTimeout("%s never came up: %s ended with status %s; its log ends with:\n%s"
                                  % (what, name, proc.returncode, self.log_tail(name)))
            return probe()

        try:
            return poll(what, check, timeout=STARTUP_TIMEOUT, interval=0.2)
        except PollTimeout as failure:
            if proc.poll() is None:
                raise PollTimeout("%s; %s is still running, its log ends with:\n%s"
                                  % (failure, name, self.log_tail(name))) from None
            raise

    def log_tail(self, name, lines=15):
        try:
            with open(os.path.join(self.log_dir, name + ".log"), encoding="utf-8", errors="replace") as f:
                return "".join(f.readlines()[-lines:]) or "(empty)"
        except OSError as error:
            return "(no log: %s)" % error

    def _bus_name_owned(self, name):
        result = run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                      "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name],
                     self.env, check=False)
        return result.returncode == 0 and "boolean true" in result.stdout

    def find_tray_window(self):
        """trayer's panel, the mapped window of class trayer, or None."""
        result = run(["xdotool", "search", "--class", "^trayer$"], self.env, check=False)
        for line in result.stdout.split():
            wid = int(line)
            if "IsViewable" in run(["xwininfo", "-id", str(wid)], self.env, check=False).stdout:
                return wid
        return None

    # -- ending -------------------------------------------------------------------

    def stop(self):
        for _, proc in reversed(self.procs):
            end_process(proc)
        self.procs = []
        shutil.rmtree(self.root, ignore_errors=True)

    def died(self):
        """Names of session processes that ended before their time."""
        return [name for name, proc in self.procs if proc.poll() is not None]

    # -- the X server -------------------------------------------------------------

    def x(self, argv, check=True, timeout=COMMAND_TIMEOUT):
        return run(argv, self.env, check=check, timeout=timeout)

    def root_property(self, name):
        return self.x(["xprop", "-root", name], check=False).stdout

    def active_window(self):
        match = re.search(r"window id # (0x[0-9a-fA-F]+)", self.root_property("_NET_ACTIVE_WINDOW"))
        return int(match.group(1), 16) if match else None

    def client_list(self):
        text = self.root_property("_NET_CLIENT_LIST")
        return [int(w, 16) for w in re.findall(r"0x[0-9a-fA-F]+", text.partition("#")[2])]

    def window_property(self, wid, name):
        return self.x(["xprop", "-id", str(wid), name], check=False).stdout

    def net_wm_state(self, wid):
        text = self.window_property(wid, "_NET_WM_STATE")
        return set(re.findall(r"_NET_WM_STATE_[A-Z_]+", text.partition("=")[2]))

    def window_pid(self, wid):
        match = re.search(r"=\s*(\d+)", self.window_property(wid, "_NET_WM_PID"))
        return int(match.group(1)) if match else None

    def geometry(self, wid):
        """(x, y, width, height, map state) of a window, x and y absolute; None when gone."""
        result = self.x(["xwininfo", "-id", str(wid)], check=False)
        if result.returncode != 0:
            return None
        out = result.stdout

        def field(label):
            return int(re.search(label + r":\s+(-?\d+)", out).group(1))

        state = re.search(r"Map State:\s+(\w+)", out).group(1)
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"), state)

    def is_viewable(self, wid):
        geometry = self.geometry(wid)
        return geometry is not None and geometry[4] == "IsViewable"

    def descendants(self, wid):
        """Ids of every window below wid."""
        out = self.x(["xwininfo", "-tree", "-id", str(wid)], check=False).stdout
        lines = out.splitlines()
        start = next((i for i, line in enumerate(lines) if "child" in line and ":" in line), len(lines))
        return [int(m.group(1), 16) for line in lines[start + 1:]
                if (m := re.match(r"\s+(0x[0-9a-fA-F]+)", line))]

    def click(self, x, y, button=1):
        # Moving with --sync can hang when the pointer is already there; the click
        # itself is synchronous enough for X.
        self.x(["xdotool", "mousemove", str(x), str(y)])
        time.sleep(0.05)
        self.x(["xdotool", "click", str(button)])

    def click_window_centre(self, wid, button=1):
        x, y, w, h, _ = self.geometry(wid)
        self.click(x + w // 2, y + h // 2, button)

    def activate(self, wid):
        self.x(["xdotool", "windowactivate", str(wid)], check=False)
        poll("window %#x to become active" % wid, lambda: self.active_window() == wid, timeout=5)

    def keys(self, *names):
        self.x(["xdotool", "key", "--delay", "30", *names])

    def type_text(self, text):
        self.x(["xdotool", "type", "--delay", "40", "--", text])

    def clipboard(self):
        """The X clipboard's text, byte for byte; None when nobody owns it."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                capture_output=True, timeout=COMMAND_TIMEOUT)
        return result.stdout if result.returncode == 0 else None

    def screenshot(self, wid, path):
        self.x(["import", "-window", str(wid), path], timeout=20)
        size = self.x(["identify", "-format", "%w %h", path]).stdout.split()
        return int(size[0]), int(size[1])

    def start_focus_target(self, log_dir):
        """Another window to move the focus to: a plain xmessage."""
        log = open(os.path.join(log_dir, "xmessage.log"), "wb")
        proc = subprocess.Popen(["xmessage", "-name", "radixpad-focus-target", "-geometry", "+20+20",
                                 "Another window"], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=log, stderr=log)
        log.close()

        def find():
            # xmessage sets no _NET_WM_PID: it is found by its instance name.
            ids = self.x(["xdotool", "search", "--onlyvisible", "--classname", "^radixpad-focus-target$"],
                         check=False).stdout.split()
            return [int(i) for i in ids if self.is_viewable(int(i))]

        return proc, poll("the other window", find, timeout=10)[0]


def run(argv, env, check=True, timeout=COMMAND_TIMEOUT):
    result = subprocess.run(argv, env=env, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise AssertionError("%s failed (%d): %s" % (" ".join(argv), result.returncode, result.stderr.strip()))
    return result


class Radixpad:
    """One run of the real program, with its own HOME, XDG folders and settings."""

    def __init__(self, session, program, work_dir, log_path, settings=None):
        self.session = session
        self.program = program
        self.work_dir = work_dir
        self.log_path = log_path
        self.dirs = make_private_dirs(work_dir)
        self.proc = None
        self.window = None
        env = dict(session.env)
        env.update(self.dirs)
        env.pop("AT_SPI_BUS_ADDRESS", None)
        # English texts unless a test names a language.
        env.pop("LC_ALL", None)
        env.pop("LC_MESSAGES", None)
        env["LANG"] = "C.UTF-8"
        env["QT_QPA_PLATFORM"] = "xcb"
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env = env
        if settings:
            self.write_settings(settings)

    @property
    def settings_file(self):
        return os.path.join(self.dirs["XDG_CONFIG_HOME"], "Quillory", "Radixpad", "QyRadixpad.ini")

    def write_settings(self, sections):
        os.makedirs(os.path.dirname(self.settings_file), exist_ok=True)
        with open(self.settings_file, "w", encoding="utf-8") as f:
            for section, values in sections.items():
                f.write("[%s]\n" % section)
                for key, value in values.items():
                    f.write("%s=%s\n" % (key, value))

    def start(self, wait_for_window=True):
        log = open(self.log_path, "ab")
        self.proc = subprocess.Popen([self.program], env=self.env, stdin=subprocess.DEVNULL,
                                     stdout=log, stderr=log, cwd=self.work_dir)
        log.close()
        if wait_for_window:
            self.window = poll("the main window to map", self._main_window_or_failure, timeout=STARTUP_TIMEOUT,
                               interval=0.2)
        return self

    def _main_window_or_failure(self):
        if self.proc.poll() is not None:
            raise PollTimeout("the main window never mapped: Radixpad ended with status %s; its log ends with:\n%s"
                              % (self.proc.returncode, self.log_text()[-2000:] or "(empty)"))
        return self.find_main_window()

    def run_again(self, *args, timeout=8.0):
        """Starts the program once more (same user), waits for it to end; returns
        (exit status, seconds taken)."""
        begin = time.monotonic()
        result = subprocess.run([self.program, *args], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=timeout, cwd=self.work_dir)
        return result.returncode, time.monotonic() - begin

    def windows(self, only_visible=True):
        argv = ["xdotool", "search", "--all", "--pid", str(self.proc.pid), "--name", "^%s$" % TITLE]
        if only_visible:
            argv.insert(2, "--onlyvisible")
        return [int(i) for i in self.session.x(argv, check=False).stdout.split()]

    def find_main_window(self):
        for wid in self.windows():
            if self.session.is_viewable(wid):
                return wid
        return None

    def visible_windows(self):
        """Every mapped window of the program, the pop-ups too."""
        ids = self.session.x(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                             check=False).stdout.split()
        return [int(i) for i in ids if self.session.is_viewable(int(i)) and
                self.session.window_pid(int(i)) == self.proc.pid]

    def wait_for_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        end_process(self.proc)

    def log_text(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    # -- the accessibility bus ------------------------------------------------------

    def accessible_tree(self):
        """Every accessible object of the program (role, name, text, extents), as read by
        a fresh AT-SPI client; [] when the program is not (yet) on the bus."""
        try:
            result = subprocess.run([sys.executable, os.path.join(HERE, "atspi_probe.py"), str(self.proc.pid)],
                                    env=self.session.env, capture_output=True, text=True, timeout=COMMAND_TIMEOUT)
        except subprocess.TimeoutExpired:
            return []
        if result.returncode != 0:
            return []
        return json.loads(result.stdout)

    def fields(self):
        """Digit-field texts by accessible name, from the accessibility bus."""
        return {node["name"]: node for node in self.accessible_tree()
                if node["role"] == "text" and node["name"] in ("Binary", "Octal", "Decimal", "Hexadecimal")}

    def field_texts(self):
        return {name: node["text"] for name, node in self.fields().items()}
