# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real Calculadora Dravello as a user and a screen reader would.

A Session starts the program on an X server of its own (Xvfb), with a D-Bus session bus and an
accessibility bus of its own, types and clicks with real X input events (xdotool), reads the
window back over AT-SPI (libatspi through PyGObject) and takes screenshots (ImageMagick). Nothing
of the caller's desktop is reached: the display, the buses, HOME, the XDG folders and the print
server the program sees all belong to the session, unless the caller's `env` says otherwise.

    from dravello_driver import Session
    with Session([program], wait_name="Display", env={"LANG": "es_ES.UTF-8"}) as s:
        s.type("1+2\\n")
        s.wait_for("Display", "3,00")
        s.click("Eur (moneda 1)")
        print(s.list_items("Operaciones Realizadas"))

Selectors name one accessible object:
- "Display": the object with that accessible name;
- "#Panel1": the object whose accessible description (or id) is the control's name;
- a dict with any of "name", "name_re", "role" ("push button", "list item", ...),
  "description", "within" (a selector of an ancestor, e.g. a dialog's title) and "index"
  (which of several matches: showing objects first, then tree order).
A search does not look inside lists and tables unless "role" asks for their items, so a tape
line never hides a button with the same text.

Text typed with `type`: "\\n" Return, "\\t" Tab, "\\b" BackSpace, "\\x1b" Escape, "\\x7f" Delete,
"{KEY}" any xdotool key or chord ("{ctrl+c}", "{KP_Add}"), "{{" a literal "{"; any other
character is typed as it is, non-ASCII ones included.

Run with Debian's /usr/bin/python3 (it has PyGObject). libatspi keeps the first accessibility
bus it meets for the life of the process: one Session per process.
"""

import atexit
import ctypes
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

__all__ = ["Session", "DriverError", "missing_tools"]

AT_SPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

# Program or module -> the Debian package that has it (scripts/setup.sh installs them all).
_TOOLS = {
    "Xvfb": "xvfb",
    "xkbcomp": "x11-xkb-utils",
    "dbus-daemon": "dbus-daemon",
    AT_SPI_LAUNCHER: "at-spi2-core",
    "xdotool": "xdotool",
    "xwininfo": "x11-utils",
    "xmodmap": "x11-xserver-utils",
    "import": "imagemagick",
    "xclip": "xclip",
}

# Variables of the caller's desktop that would connect the program to it.
_DESKTOP_VARIABLES = (
    "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
    "SESSION_MANAGER", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME",
    "NO_AT_BRIDGE", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
    "QT_FONT_DPI", "CUPS_SERVER", "PRINTER", "LPDEST",
)

# Containers whose children are data rows: searched only when the items are asked for.
_ROW_CONTAINERS = ("list", "list box", "table", "tree", "tree table")
_ROW_ROLES = ("list item", "table cell", "tree item")

_PR_SET_CHILD_SUBREAPER = 36

_KEY_OF_CHARACTER = {"\n": "Return", "\t": "Tab", "\b": "BackSpace", "\x1b": "Escape",
                     "\x7f": "Delete", " ": "space"}


class DriverError(Exception):
    """A step could not be done: a missing tool, a program that did not start, an object that
    cannot be found, a text that did not come in time."""


def missing_tools():
    """The tools a session needs that are not installed, each with its Debian package."""
    missing = [f"{tool} ({package})" for tool, package in _TOOLS.items()
               if (shutil.which(tool) if not tool.startswith("/") else
                   (tool if os.access(tool, os.X_OK) else None)) is None]
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi  # noqa: F401
    except (ImportError, ValueError):
        missing.append("PyGObject with Atspi 2.0 (python3-gi, gir1.2-atspi-2.0), for "
                       "/usr/bin/python3")
    return missing


def _run(command, timeout=10, env=None, check=True):
    result = subprocess.run(command, capture_output=True, text=True, timeout=timeout, env=env)
    if check and result.returncode != 0:
        raise DriverError(f"{' '.join(command)} failed ({result.returncode}): "
                          f"{result.stderr.strip()}")
    return result.stdout


def _read_ready_line(fd, timeout, what):
    """The line a server writes on `fd` once it is ready (display number, bus address)."""
    deadline = time.monotonic() + timeout
    data = b""
    os.set_blocking(fd, False)
    while not data.endswith(b"\n"):
        try:
            chunk = os.read(fd, 256)
            if chunk == b"":
                break
            data += chunk
        except BlockingIOError:
            if time.monotonic() > deadline:
                break
            time.sleep(0.005)
    os.close(fd)
    if not data.endswith(b"\n"):
        raise DriverError(f"{what} did not say it was ready within {timeout} s")
    return data.decode().strip()


def _processes():
    """pid -> (parent pid, start time) of every process, from /proc."""
    return _processes_of(int(entry) for entry in os.listdir("/proc") if entry.isdigit())


def _processes_of(pids):
    """pid -> (parent pid, start time) of those of `pids` that run."""
    table = {}
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat", "rb") as f:
                stat = f.read().decode(errors="replace")
        except OSError:
            continue
        fields = stat[stat.rfind(")") + 2:].split()
        if fields[0] != "Z":
            table[pid] = (int(fields[1]), int(fields[19]))
    return table


def _descendants(roots, table):
    """Every process below the pids of `roots` in `table`, with the roots themselves."""
    children = {}
    for pid, (ppid, _) in table.items():
        children.setdefault(ppid, []).append(pid)
    found, stack = [], [r for r in roots if r in table]
    while stack:
        pid = stack.pop()
        if pid in found:
            continue
        found.append(pid)
        stack.extend(children.get(pid, []))
    return found


class Session:
    """One run of the program under the driver; see the module's documentation."""

    def __init__(self, argv, wait_name="Display", env=None, screen="1280x800x24", dpi=96,
                 cwd=None, timeout=30.0, key_delay_ms=12, settle_s=0.05):
        self.argv = list(argv)
        if self.argv and "/" in self.argv[0]:  # the caller's folder, whatever `cwd` says
            self.argv[0] = os.path.abspath(self.argv[0])
        self.wait_name = wait_name
        self.caller_env = dict(env or {})
        self.screen = screen
        self.dpi = dpi
        self.cwd = cwd
        self.timeout = timeout
        self.key_delay_ms = key_delay_ms
        self.settle_s = settle_s
        self.folder = None  # the session's own folder: sockets, HOME, logs
        self.home = None  # the program's HOME unless the caller gave one
        self.program = None
        self.main_window = None
        self._servers = []  # (what, Popen) in start order
        self._display = None
        self._x_env = None  # what the tools need to reach the display
        self._app = None
        self._a11y = None  # the driver's own connection to the accessibility bus
        self._atspi = None
        self._spare_keycodes = None
        self._typed_keysyms = {}
        self._clipboard_owner = None
        self._ended = None

    # ---------------------------------------------------------------------------------------
    # Start and end

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.teardown()
        return False

    def start(self):
        """Starts the display, the buses and the program; returns once the program's window is
        mapped and its accessible tree holds `wait_name`."""
        missing = missing_tools()
        if missing:
            raise DriverError("missing for end-to-end tests: " + ", ".join(missing) +
                              " (bash scripts/setup.sh installs them)")
        libc = ctypes.CDLL(None, use_errno=True)
        # What the servers start and then leave (D-Bus activation) stays below this process, so
        # that teardown finds and ends all of it.
        libc.prctl(_PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        atexit.register(self.teardown)
        self.folder = tempfile.mkdtemp(prefix="dravello-e2e.")
        run = os.path.join(self.folder, "run")
        os.mkdir(run, 0o700)
        self.home = os.path.join(self.folder, "home")
        for sub in ("", ".config", ".local/share", ".cache"):
            os.makedirs(os.path.join(self.home, sub), exist_ok=True)
        try:
            self._start_display()
            self._start_buses(run)
            self._start_program(run)
        except BaseException:
            self.teardown()
            raise
        return self

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self.folder, "xvfb.log"), "wb")
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen, "-dpi",
             str(self.dpi), "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        os.close(write_fd)
        self._servers.append(("xvfb", xvfb))
        self._display = ":" + _read_ready_line(read_fd, self.timeout, "Xvfb")
        self._x_env = dict(os.environ, DISPLAY=self._display)
        for name in ("XAUTHORITY", "WAYLAND_DISPLAY"):
            self._x_env.pop(name, None)
        self._root = int(re.search(r"Window id: (\d+)",
                                   _run(["xwininfo", "-root", "-int"], env=self._x_env)).group(1))

    def _start_buses(self, run):
        read_fd, write_fd = os.pipe()
        env = dict(self._x_env, XDG_RUNTIME_DIR=run)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.pop("AT_SPI_BUS_ADDRESS", None)
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile",
             f"--address=unix:path={run}/bus", f"--print-address={write_fd}"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, env=env,
            stdout=open(os.path.join(self.folder, "dbus.log"), "wb"), stderr=subprocess.STDOUT)
        os.close(write_fd)
        self._servers.append(("session bus", bus))
        self._bus = _read_ready_line(read_fd, self.timeout, "dbus-daemon")
        env["DBUS_SESSION_BUS_ADDRESS"] = self._bus
        self._bus_env = env
        launcher = subprocess.Popen(
            [AT_SPI_LAUNCHER, "--launch-immediately", "--a11y=1"], env=env,
            stdin=subprocess.DEVNULL, stdout=open(os.path.join(self.folder, "at-spi.log"), "wb"),
            stderr=subprocess.STDOUT)
        self._servers.append(("accessibility bus", launcher))
        self._wait_for_accessibility_bus()

        # libatspi finds the accessibility bus through the session bus, the first time it is used.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self._bus
        os.environ["DISPLAY"] = self._display
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self._atspi = Atspi
        Atspi.init()
        # Asking for the desktop starts the registry, before the program wants to register.
        Atspi.get_desktop(0).get_child_count()

    def _wait_for_accessibility_bus(self):
        from gi.repository import Gio, GLib
        deadline = time.monotonic() + self.timeout
        last = None
        while time.monotonic() < deadline:
            try:
                connection = Gio.DBusConnection.new_for_address_sync(
                    self._bus, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
                    Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
                reply = connection.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                             "GetAddress", None, GLib.VariantType("(s)"),
                                             Gio.DBusCallFlags.NONE, 2000, None)
                connection.close_sync(None)
                if reply.unpack()[0]:
                    return
            except GLib.Error as error:
                last = error.message
            time.sleep(0.02)
        raise DriverError(f"the accessibility bus did not start: {last}")

    def _program_env(self, run):
        env = {k: v for k, v in os.environ.items()
               if k not in _DESKTOP_VARIABLES and not k.startswith("LC_")}
        env.update({
            "DISPLAY": self._display,
            "DBUS_SESSION_BUS_ADDRESS": self._bus,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "XDG_RUNTIME_DIR": run,
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local/share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "LANG": "C.UTF-8",
            # Every control's accessible description is its name, for "#Name" selectors.
            "DRAVELLO_ACCESSIBLE_IDS": "1",
            # A print server that is not there: no test reaches the machine's printers.
            "CUPS_SERVER": os.path.join(run, "no-cups.sock"),
        })
        for name, value in self.caller_env.items():
            if value is None:
                env.pop(name, None)
            else:
                env[name] = str(value)
        return env

    def _start_program(self, run):
        self._program_log = os.path.join(self.folder, "program.log")
        self.program = subprocess.Popen(
            self.argv, env=self._program_env(run), cwd=self.cwd, stdin=subprocess.DEVNULL,
            stdout=open(self._program_log, "wb"), stderr=subprocess.STDOUT)
        deadline = time.monotonic() + self.timeout
        while not self._visible_windows():
            if self.program.poll() is not None:
                raise DriverError(f"the program ended with status {self.program.returncode} "
                                  f"before showing a window:\n{self.program_output()}")
            if time.monotonic() > deadline:
                raise DriverError(f"no window within {self.timeout} s:\n{self.program_output()}")
            time.sleep(0.01)
        self.main_window = self._visible_windows()[0]
        self._focus(self.main_window)
        while True:
            try:
                self._application()
                if not self.wait_name or self._search(self.wait_name):
                    return
            except DriverError:
                pass
            if time.monotonic() > deadline:
                raise DriverError(f"the program's accessible tree did not show "
                                  f"{self.wait_name!r} within {self.timeout} s")
            time.sleep(0.02)

    def wait_exit(self, timeout=10.0):
        """The program's exit status once it has ended by itself (a window closed, the program
        quits), or None if it still runs after `timeout` seconds. A sanitizer build takes a
        moment at exit to look for leaks."""
        try:
            return self.program.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def program_output(self):
        """What the program wrote on its standard output and error so far."""
        try:
            with open(self._program_log, encoding="utf-8", errors="replace") as f:
                return f.read()
        except (OSError, AttributeError, TypeError):
            return ""

    def teardown(self):
        """Ends everything the session started, the program first; returns
        {"exit_codes": {"program": status, ...}, "left_running": [pids]}. A status below 0 is
        the signal that ended the process (-15 when teardown had to end the program)."""
        if self._ended is not None:
            return self._ended
        codes = {}
        if self.program is not None:
            codes["program"] = self._end_tree(self.program)
        for what, server in reversed(self._servers):
            codes[what] = self._end_tree(server)
        # What the servers started and left to this process (services that D-Bus started).
        for pid, start in self._session_processes().items():
            self._signal_if_same(pid, start, signal.SIGKILL)
        time.sleep(0.05)
        self._reap_adopted()
        left = sorted(self._session_processes())
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)
        self._ended = {"exit_codes": codes, "left_running": left}
        return self._ended

    def _session_processes(self):
        """pid -> start time of the processes below this one that run on this session's
        display or buses."""
        table = _processes()
        return {pid: table[pid][1] for pid in _descendants([os.getpid()], table)
                if pid != os.getpid() and self._is_ours(pid)}

    def _is_ours(self, pid):
        """A process that runs on this session's display or buses."""
        if not self._display:
            return False
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                environ = f.read().split(b"\0")
        except OSError:
            return False
        marks = {f"DISPLAY={self._display}".encode()}
        if getattr(self, "_bus", None):
            marks.add(f"DBUS_SESSION_BUS_ADDRESS={self._bus}".encode())
        return any(entry in marks for entry in environ)

    @staticmethod
    def _signal_if_same(pid, start, sig):
        """Signals `pid` only while it is still the process that started at `start`: a number
        freed meanwhile may already belong to someone else's process."""
        entry = _processes_of([pid]).get(pid)
        if entry is None or entry[1] != start:
            return
        try:
            os.kill(pid, sig)
        except (ProcessLookupError, PermissionError):
            pass

    def _end_tree(self, popen):
        """SIGTERM to a process started here and to what runs below it, SIGKILL to what is left
        after 3 s; the process's exit status. One that has ended is not signalled: its number
        may be another process's by now (what it left runs below this process, for teardown)."""
        if popen.poll() is not None:
            return popen.returncode
        # Not waited for yet, so its number is still its own.
        table = _processes()
        tree = {pid: table[pid][1] for pid in _descendants([popen.pid], table)}
        for pid, start in tree.items():
            self._signal_if_same(pid, start, signal.SIGTERM)
        try:
            popen.wait(timeout=3)
            return popen.returncode
        except subprocess.TimeoutExpired:
            pass
        table = _processes()
        tree.update({pid: table[pid][1] for pid in _descendants(list(tree), table)
                     if pid not in tree})
        for pid, start in tree.items():
            self._signal_if_same(pid, start, signal.SIGKILL)
        try:
            popen.wait(timeout=3)
        except subprocess.TimeoutExpired:
            pass
        return popen.returncode

    @staticmethod
    def _reap_adopted():
        while True:
            try:
                pid, _ = os.waitpid(-1, os.WNOHANG)
            except ChildProcessError:
                return
            if pid == 0:
                return

    # ---------------------------------------------------------------------------------------
    # X windows and input

    def _visible_windows(self):
        out = _run(["xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", ""],
                   env=self._x_env, check=False)
        return [int(w) for w in out.split() if w.isdigit() and int(w) != self._root]

    def _focus(self, window):
        _run(["xdotool", "windowfocus", str(window)], env=self._x_env, check=False)
        time.sleep(self.settle_s)

    def _focus_program(self):
        """With no window manager nobody gives the program the keyboard focus: if no window of
        the program has it, its topmost window gets it."""
        windows = self._visible_windows()
        if not windows:
            return
        focused = _run(["xdotool", "getwindowfocus", "-f"], env=self._x_env, check=False).strip()
        if not focused.isdigit() or int(focused) not in windows:
            self._focus(windows[-1])

    def _xdotool(self, *args):
        _run(["xdotool", *args], env=self._x_env)
        time.sleep(self.settle_s)

    def _keysym_for(self, char):
        """A keysym name that types `char`, binding the character to a spare keycode first when
        the keyboard map has no key for it (xdotool's own remapping loses characters)."""
        if char in self._typed_keysyms:
            return self._typed_keysyms[char]
        keysym = f"U{ord(char):04X}"
        if self._spare_keycodes is None:
            table = _run(["xmodmap", "-pke"], env=self._x_env)
            self._spare_keycodes = [int(m.group(1)) for m in
                                    re.finditer(r"^keycode\s+(\d+)\s*=\s*$", table, re.M)]
        if not self._spare_keycodes:
            raise DriverError(f"no spare key left to type {char!r}")
        code = self._spare_keycodes.pop()
        _run(["xmodmap", "-e", f"keycode {code} = {keysym} {keysym}"], env=self._x_env)
        time.sleep(0.05)  # the program reads the new map before the key comes
        self._typed_keysyms[char] = keysym
        return keysym

    def type(self, text):
        """Types `text` into the focused window of the program (see the module's notes)."""
        self._focus_program()
        plain = ""

        def flush():
            nonlocal plain
            if plain:
                self._xdotool("type", "--delay", str(self.key_delay_ms), "--", plain)
                plain = ""

        i = 0
        while i < len(text):
            c = text[i]
            if c == "{" and text.startswith("{{", i):
                plain += "{"
                i += 2
                continue
            if c == "{":
                end = text.find("}", i + 1)
                if end < 0:
                    raise DriverError(f"unclosed key in {text!r}")
                flush()
                self._xdotool("key", "--delay", str(self.key_delay_ms), text[i + 1:end])
                i = end + 1
                continue
            if c in _KEY_OF_CHARACTER and c != " ":
                flush()
                self._xdotool("key", _KEY_OF_CHARACTER[c])
            elif ord(c) > 0x7E:
                flush()
                self._xdotool("key", self._keysym_for(c))
            else:
                plain += c
            i += 1
        flush()

    def key(self, *keys):
        """Presses xdotool keys or chords, one after the other: key("alt+e"),
        key("Escape Escape"), key("Escape", "Return") or key(["Escape", "Return"])."""
        self._focus_program()
        names = []
        for k in keys:
            names += k.split() if isinstance(k, str) else list(k)
        self._xdotool("key", "--delay", str(self.key_delay_ms), *names)

    # ---------------------------------------------------------------------------------------
    # The accessible tree

    def _application(self):
        """The program's application on the accessibility bus: the one of Qt whose process is
        the program or runs below it (the program may be a wrapper).

        A process that loads GTK (Qt's GTK platform theme, QT_QPA_PLATFORMTHEME=gtk3) is there a
        second time, as GTK's own application, which holds GTK's file dialog while it is open.
        libatspi may wait for ever on an application it has not met, so the applications are
        told apart by questions of our own, with a timeout, and only the program's is touched."""
        if self._app is not None:
            try:
                self._app.get_child_count()
                return self._app
            except Exception:  # noqa: BLE001 - gone: look again
                self._app = None
        index, others = self._qt_application_index()
        if index is not None:
            app = self._atspi.get_desktop(0).get_child_at_index(index)
            try:
                # Every read asks the program: nothing runs libatspi's event loop here.
                app.set_cache_mask(self._atspi.Cache.NONE)
                if app.get_toolkit_name() == "Qt":
                    self._app = app
                    return app
            except Exception:  # noqa: BLE001 - the desktop changed meanwhile: look again
                pass
        if others:
            raise DriverError("the program is on the accessibility bus only as "
                              f"{', '.join(others)} application(s), not as its Qt window")
        raise DriverError("the program is not on the accessibility bus")

    def _qt_application_index(self):
        """(index among the desktop's applications of the program's Qt application or None,
        the toolkits of the program's other applications), asked over a connection of the
        driver's own to the accessibility bus, each question with a timeout of 2 s."""
        from gi.repository import Gio, GLib

        def ask(connection, name, path, interface, method, args=None):
            return connection.call_sync(name, path, interface, method, args, None,
                                        Gio.DBusCallFlags.NONE, 2000, None).unpack()[0]

        if self._a11y is None:
            flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
                     Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
            session = Gio.DBusConnection.new_for_address_sync(self._bus, flags, None, None)
            address = ask(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress")
            session.close_sync(None)
            self._a11y = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
        ours = set(_descendants([self.program.pid], _processes())) | {self.program.pid}
        others = []
        for index, (name, path) in enumerate(ask(
                self._a11y, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                "org.a11y.atspi.Accessible", "GetChildren")):
            try:
                if ask(self._a11y, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                       "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                       GLib.Variant("(s)", (name,))) not in ours:
                    continue
                toolkit = ask(self._a11y, name, path, "org.freedesktop.DBus.Properties", "Get",
                              GLib.Variant("(ss)", ("org.a11y.atspi.Application", "ToolkitName")))
            except GLib.Error:
                continue  # gone meanwhile, or not answering
            if toolkit == "Qt":
                return index, others
            others.append(toolkit)
        return None, others

    @staticmethod
    def _role(obj):
        try:
            return obj.get_role_name()
        except Exception:  # noqa: BLE001
            return ""

    def _states(self, obj):
        try:
            states = obj.get_state_set().get_states()
        except Exception:  # noqa: BLE001
            return []
        return [self._atspi.StateType(s).value_nick.replace("-", " ") for s in states]

    def _showing(self, obj):
        try:
            return obj.get_state_set().contains(self._atspi.StateType.SHOWING)
        except Exception:  # noqa: BLE001
            return False

    def _walk(self, root, into_rows):
        """Every object below `root` in tree order, not into row containers unless asked."""
        stack = [root]
        while stack:
            obj = stack.pop()
            yield obj
            if not into_rows and obj is not root and self._role(obj) in _ROW_CONTAINERS:
                continue
            try:
                count = obj.get_child_count()
            except Exception:  # noqa: BLE001
                continue
            children = []
            for i in range(count):
                try:
                    child = obj.get_child_at_index(i)
                except Exception:  # noqa: BLE001
                    child = None
                if child is not None:
                    children.append(child)
            stack.extend(reversed(children))

    @staticmethod
    def _as_dict(selector, **narrowing):
        if isinstance(selector, dict):
            sel = dict(selector)
        elif isinstance(selector, str) and selector.startswith("#") and len(selector) > 1:
            sel = {"id": selector[1:]}
        else:
            sel = {"name": selector}
        sel.update({k: v for k, v in narrowing.items() if v is not None})
        return sel

    def _matches(self, obj, sel):
        try:
            if "name" in sel and obj.get_name() != sel["name"]:
                return False
            if "name_re" in sel and not re.search(sel["name_re"], obj.get_name() or ""):
                return False
            if "role" in sel and self._role(obj) != sel["role"]:
                return False
            if "description" in sel and obj.get_description() != sel["description"]:
                return False
            if "id" in sel and sel["id"] not in (obj.get_description(),
                                                 obj.get_accessible_id()):
                return False
        except Exception:  # noqa: BLE001 - an object that went away while searched
            return False
        return True

    def _search(self, selector):
        sel = self._as_dict(selector)
        root = self._application()
        if "within" in sel:
            root = self._find(sel.pop("within"))
        into_rows = sel.get("role") in _ROW_ROLES
        index = sel.pop("index", 0)
        found = [obj for obj in self._walk(root, into_rows)
                 if obj is not root and self._matches(obj, sel)]
        found.sort(key=lambda obj: not self._showing(obj))  # stable: tree order kept
        return found[index] if index < len(found) else None

    def _find(self, selector, **narrowing):
        if not isinstance(selector, (str, dict)):
            return selector  # already an accessible object
        if narrowing:
            selector = self._as_dict(selector, **narrowing)
        obj = self._search(selector)
        if obj is None:
            raise DriverError(f"no object {selector!r} in the program's window")
        return obj

    def find(self, selector):
        """The raw Atspi.Accessible of `selector`."""
        return self._find(selector)

    def _text_of(self, obj):
        text = obj.get_text_iface()
        if text is not None:
            return text.get_text(0, text.get_character_count())
        value = obj.get_value_iface()
        if value is not None:
            return str(value.get_current_value())
        return obj.get_name()

    def read(self, selector, role=None, within=None, index=None):
        """The text the object shows: its Text, else its Value, else its name."""
        return self._text_of(self._find(selector, role=role, within=within, index=index))

    def wait_for(self, selector, text=None, timeout=5.0, role=None, within=None, index=None):
        """Polls `read` until it gives `text` (with text None, until the object exists);
        raises DriverError with the last reading after `timeout` seconds."""
        deadline = time.monotonic() + timeout
        last = None
        while True:
            try:
                last = self.read(selector, role=role, within=within, index=index)
                if text is None or last == text:
                    return last
            except DriverError as error:
                last = f"({error})"
            if time.monotonic() > deadline:
                raise DriverError(f"{selector!r} reads {last!r}, not {text!r}, after {timeout} s")
            time.sleep(0.02)

    def list_items(self, selector, role=None, within=None, index=None):
        """The texts of the rows of a list, in row order."""
        obj = self._find(selector, role=role, within=within, index=index)
        rows = []
        for i in range(obj.get_child_count()):
            child = obj.get_child_at_index(i)
            if child is not None and self._role(child) in _ROW_ROLES:
                rows.append(child.get_name())
        return rows

    def click(self, selector, role=None, within=None, index=None, how="mouse", button=1):
        """A mouse click (of `button`) on the centre of the object ("mouse"), or its Press action
        as a screen reader runs it ("action")."""
        obj = self._find(selector, role=role, within=within, index=index)
        if how == "action":
            action = obj.get_action_iface()
            if action is None or action.get_n_actions() == 0:
                raise DriverError(f"{selector!r} has no action")
            names = [action.get_action_name(i).lower() for i in range(action.get_n_actions())]
            index = next((i for i, n in enumerate(names) if n in ("press", "click")), 0)
            action.do_action(index)
            time.sleep(self.settle_s)
            return {"action": names[index]}
        if how != "mouse":
            raise DriverError(f"unknown click {how!r}")
        box = obj.get_extents(self._atspi.CoordType.SCREEN)
        if box.width <= 0 or box.height <= 0:
            raise DriverError(f"{selector!r} has no place on the screen")
        x, y = box.x + box.width // 2, box.y + box.height // 2
        self._xdotool("mousemove", str(x), str(y), "sleep", "0.02", "click", str(button))
        return {"x": x, "y": y}

    def focused(self):
        """{role, name} of the object with the keyboard focus (the innermost one: a row only
        when its list has the focus, since Qt marks a list's current row focused either way)."""
        Atspi = self._atspi
        best = None
        stack = [self._application()]
        while stack:
            obj = stack.pop()
            try:
                focused = obj.get_state_set().contains(Atspi.StateType.FOCUSED)
                if focused:
                    best = obj
                if self._role(obj) in _ROW_CONTAINERS and not focused:
                    continue
                children = [obj.get_child_at_index(i) for i in range(obj.get_child_count())]
            except Exception:  # noqa: BLE001 - gone while looked at
                continue
            stack.extend(c for c in reversed(children) if c is not None)
        if best is None:
            return {}
        return {"role": self._role(best), "name": best.get_name()}

    def describe(self, selector):
        """All the accessible facts of one object."""
        obj = self._find(selector)
        box = obj.get_extents(self._atspi.CoordType.SCREEN)
        action = obj.get_action_iface()
        text = None
        try:
            text = self._text_of(obj) if obj.get_text_iface() is not None else None
        except Exception:  # noqa: BLE001
            pass
        return {
            "name": obj.get_name(),
            "role": self._role(obj),
            "description": obj.get_description(),
            "id": obj.get_accessible_id(),
            "states": self._states(obj),
            "extents": {"x": box.x, "y": box.y, "width": box.width, "height": box.height},
            "text": text,
            "actions": [action.get_action_name(i) for i in range(action.get_n_actions())]
            if action is not None else [],
            "children": obj.get_child_count(),
        }

    def texts(self):
        """(role, name, text) of every showing object, in tree order."""
        out = []
        for obj in self._walk(self._application(), True):
            if self._showing(obj):
                try:
                    text = self._text_of(obj)
                except Exception:  # noqa: BLE001
                    text = None
                out.append((self._role(obj), obj.get_name(), text))
        return out

    def dump(self):
        """The accessible tree as indented lines, to learn the names."""
        lines = []

        def visit(obj, depth):
            lines.append(f"{'  ' * depth}[{self._role(obj)}] {obj.get_name()!r} "
                         f"desc={obj.get_description()!r}"
                         + ("" if self._showing(obj) else " (hidden)"))
            for i in range(obj.get_child_count()):
                child = obj.get_child_at_index(i)
                if child is not None:
                    visit(child, depth + 1)

        visit(self._application(), 0)
        return lines

    # ---------------------------------------------------------------------------------------
    # Windows, pictures, clipboard

    def _window_geometry(self, window):
        out = _run(["xdotool", "getwindowgeometry", "--shell", str(window)], env=self._x_env,
                   check=False)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        if "WIDTH" not in values:
            return None
        return {"id": window, "x": int(values["X"]), "y": int(values["Y"]),
                "width": int(values["WIDTH"]), "height": int(values["HEIGHT"])}

    def geometry(self):
        """Place and size of the main window: {id, x, y, width, height}."""
        box = self._window_geometry(self.main_window)
        if box is None:
            raise DriverError("the main window is gone")
        return box

    def windows(self):
        """The program's mapped top-level windows, bottom to top: [{id, name, x, y, width,
        height}]; [] once the program has closed its windows."""
        out = []
        for window in self._visible_windows():
            box = self._window_geometry(window)
            if box is not None:
                box["name"] = _run(["xdotool", "getwindowname", str(window)], env=self._x_env,
                                   check=False).strip()
                out.append(box)
        return out

    def screenshot(self, path, window=True, settle=0.2):
        """A PNG of the main window, or of the whole screen (dialogs and menus are windows of
        their own) with window=False."""
        time.sleep(settle)  # the program paints after it has handled the input
        target = str(self.main_window) if window else "root"
        _run(["import", "-window", target, f"png:{path}"], env=self._x_env, timeout=30)
        return path

    def clipboard(self):
        """The text on the X clipboard ("" when there is none)."""
        try:
            return subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self._x_env,
                                  capture_output=True, timeout=5).stdout.decode(
                                      "utf-8", errors="replace")
        except subprocess.TimeoutExpired:
            return ""

    def get_clipboard(self):
        return self.clipboard()

    def set_clipboard(self, text, selection="clipboard"):
        """Offers `text` on the X clipboard (or `selection`), as another program would, until
        the next call."""
        if self._clipboard_owner is not None:
            self._end_tree(self._clipboard_owner)
        owner = subprocess.Popen(["xclip", "-selection", selection, "-i", "-quiet"],
                                 env=self._x_env, stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        owner.stdin.write(text.encode("utf-8"))
        owner.stdin.close()
        self._clipboard_owner = owner
        self._servers.append(("clipboard", owner))
        deadline = time.monotonic() + 3
        while (selection == "clipboard" and self.clipboard() != text
               and time.monotonic() < deadline):
            time.sleep(0.02)
