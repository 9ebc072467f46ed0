#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The calculator's start-up, memory, idle and per-key figures as ratios to the toolkit's floor.

    startup_bench.py PROGRAM FLOOR [--runs N] [--idle S] [--keys N] [--raw FILE]

PROGRAM is the calculator, FLOOR the bare Qt Widgets window of floor/StartupFloor.cpp. Both are
started in turn on one private Xvfb at 96 dpi without a window manager, calculator first, N times
each (default 10), so that the machine's noise falls on both alike. Each start measures:
  mapped   time from exec to the window mapped (mapwait.c listens for the X server's MapNotify
           instead of polling);
  rss      resident memory (VmRSS) 1 s after the window was mapped;
  cpu      CPU time of all threads by then: the start-up's work, which a busy machine
           disturbs less than it does the time to the window;
  libs     shared objects mapped then (/proc/PID/maps);
  idle     CPU time of all threads over S seconds (default 3) of idling after that, and the
           wake-ups: their context switches over the same time;
  key      CPU time of all threads per key while N keys (default 40) are typed through XTEST
           (xdotool) 150 ms apart, end to end: key event, routing, flash, engine, display, list;
           after a first round of 20 keys, whose cost per key is given apart (first_keys).
           The keys are digits, operators, Return, the memory key M (Mem +) and Ctrl+1 / Ctrl+0,
           a switch to the second currency and back; the calculator's settings file defines one.
The programs find a session bus of their own, as on a desktop (without one, the toolkit tries to
start one at every start). Each start has a home and XDG folders of its own, new and removed
after it, so that no start finds what another left (a journal to offer back); the calculator runs
with its default settings but for its settings file's currencies: its journal on disk, no update
of the rates at start-up. Each figure is printed as the median over the starts of the
calculator's value divided by the floor's in the same round, with the spread of those ratios (quartiles, then least and greatest),
and the absolute medians of both. --raw FILE writes every start's figures as JSON.
Needs Xvfb, xdotool and a C compiler with the Xlib headers (scripts/setup.sh installs them).
"""

import argparse
import glob
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

SCREEN_W, SCREEN_H = 1280, 800
KEY_DELAY_MS = 150  # each key's 100 ms flash is over before the next arrives
# One round of keys: operations, Return, the memory key, a currency switch and back.
KEY_ROUND = ["1", "2", "plus", "3", "4", "asterisk", "5", "Return", "M", "ctrl+1",
             "6", "comma", "5", "minus", "7", "8", "slash", "2", "equal", "ctrl+0"]
# The calculator's settings file: Pesetas and a second currency for Ctrl+1 (Windows-1252).
SETTINGS = ("[MONEDAS]\r\nMoneda0=Pts\r\nDecimales0=2\r\n"
            "Moneda1=EUR\r\nDecimales1=2\r\nCambio1=166,386\r\n")
FIGURES = [  # key, label, unit, target ratio (0: none; None: no ratio, absolute)
    ("mapped", "exec to window mapped", "ms", 1.05),
    ("rss", "resident memory after start-up", "MiB", 1.05),
    ("cpu", "CPU time of start-up", "ms", 0.0),
    ("key", "CPU time per key", "ms", 1.05),
    ("first_keys", "CPU time per key, first round", "ms", 0.0),
    ("idle_cpu", "CPU time while idle", "ms", None),
    ("idle_wakeups", "wake-ups while idle", "", None),
    ("libs", "shared objects mapped", "", None),
]


def build_mapwait(folder):
    exe = os.path.join(folder, "mapwait")
    subprocess.run(["cc", "-O2", "-o", exe, os.path.join(HERE, "mapwait.c"), "-lX11"], check=True)
    return exe


def start_session_bus(env):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = bus.stdout.readline().strip()
    if not address:
        raise RuntimeError("dbus-daemon did not start")
    return bus, address


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                             f"{SCREEN_W}x{SCREEN_H}x24", "-dpi", "96", "-nolisten", "tcp",
                             "-noreset"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(read)
    return xvfb, ":" + number.decode().strip()


def threads(pid):
    return os.listdir(f"/proc/{pid}/task")


def cpu_ns(pid):
    """CPU time of all threads of `pid` so far, in nanoseconds (schedstat)."""
    total = 0
    for tid in threads(pid):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:  # a thread that ended meanwhile
            pass
    return total


def switches(pid):
    """Context switches of all threads of `pid` so far: each is a wake-up or a preemption."""
    total = 0
    for tid in threads(pid):
        try:
            with open(f"/proc/{pid}/task/{tid}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches",
                                        "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass
    return total


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def shared_objects(pid):
    names = set()
    with open(f"/proc/{pid}/maps") as f:
        for line in f:
            fields = line.split(maxsplit=5)
            if len(fields) == 6 and ".so" in os.path.basename(fields[5].strip()):
                names.add(fields[5].strip())
    return len(names)


class Start:
    """One start of a program copied into a folder of its own, with a home and XDG folders of
    its own that go with it: no start finds another's journal to offer back, or anything else
    a start before it left; the settings are the program's defaults but for those of its
    settings file."""

    def __init__(self, mapwait, program, env):
        self.home = tempfile.mkdtemp(prefix="home-", dir=os.path.dirname(os.path.dirname(program)))
        env = dict(env, HOME=self.home)
        for name, sub in (("XDG_CONFIG_HOME", ".config"), ("XDG_STATE_HOME", ".local/state"),
                          ("XDG_CACHE_HOME", ".cache"), ("XDG_DATA_HOME", ".local/share")):
            env[name] = os.path.join(self.home, sub)
            os.makedirs(env[name])
        self.proc = subprocess.Popen([mapwait, program], env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True)
        mapped, pid, window = self.proc.stdout.readline().split()
        self.mapped_ms = float(mapped)
        self.pid = int(pid)
        if self.mapped_ms < 0:
            raise RuntimeError(f"{program} ended without a window")
        # Without a window manager nothing gives the new window the keyboard focus: given here,
        # as a desktop gives it, while the start-up's figures are still being taken.
        subprocess.run(["xdotool", "windowfocus", window], env=env, check=True)

    def end(self):
        try:
            os.kill(self.pid, 15)
        except ProcessLookupError:
            pass
        self.proc.wait(timeout=10)
        shutil.rmtree(self.home, ignore_errors=True)


def measure(mapwait, program, env, idle_s, keys):
    start = Start(mapwait, program, env)
    try:
        figures = {"mapped": start.mapped_ms}
        time.sleep(1.0)
        figures["rss"] = rss_mib(start.pid)
        figures["cpu"] = cpu_ns(start.pid) / 1e6
        figures["libs"] = shared_objects(start.pid)
        cpu0, sw0 = cpu_ns(start.pid), switches(start.pid)
        time.sleep(idle_s)
        figures["idle_cpu"] = (cpu_ns(start.pid) - cpu0) / 1e6
        figures["idle_wakeups"] = switches(start.pid) - sw0
        if keys:
            # The first round of keys meets what a run does once (fonts and glyphs first used,
            # the first line of the list); the keys after it cost what every key costs.
            for name, typed in (("first_keys", KEY_ROUND), ("key", keys)):
                cpu0 = cpu_ns(start.pid)
                subprocess.run(["xdotool", "key", "--delay", str(KEY_DELAY_MS)] + typed, env=env,
                               check=True)
                time.sleep(0.5)  # the last flash ends
                figures[name] = (cpu_ns(start.pid) - cpu0) / 1e6 / len(typed)
            if figures["key"] < 0.1:
                print(f"warning: {os.path.basename(program)} used {figures['key']:.3f} ms a key: "
                      "did the keys reach its window?", file=sys.stderr)
        return figures
    finally:
        start.end()


def quartiles(values):
    if len(values) < 2:
        return values[0], values[0]
    q = statistics.quantiles(values, n=4, method="inclusive")
    return q[0], q[2]


def number(value, unit):
    if unit == "MiB":
        return f"{value:.1f}"
    if unit == "ms":
        return f"{value:.3f}" if value < 10 else f"{value:.1f}"
    return f"{value:g}"


def report(rounds, idle_s):
    lines = [f"{len(rounds)} starts of each, interleaved; medians, ratio = calculator / floor "
             "in the same round",
             f"{'figure':34} {'calculator':>11} {'floor':>9}   {'ratio':>5}  "
             f"{'quartiles':11}  {'range':11}  target"]
    for key, label, unit, target in FIGURES:
        pairs = [(r["calculator"][key], r["floor"][key]) for r in rounds
                 if key in r["calculator"] and key in r["floor"]]
        if not pairs:
            continue
        calc = statistics.median(p[0] for p in pairs)
        floor = statistics.median(p[1] for p in pairs)
        if label.endswith("idle"):
            label += f" ({idle_s:g} s)"
        if unit:
            label += f", {unit}"
        head = f"{label:34} {number(calc, unit):>11} {number(floor, unit):>9}"
        if target is None:
            lines.append(head + (f"   {'':34}none" if key.startswith("idle") else ""))
            continue
        ratios = [c / f for c, f in pairs if f > 0]
        low, high = quartiles(ratios)
        lines.append(f"{head}   {statistics.median(ratios):5.2f}  "
                     f"{low:.2f}–{high:.2f}    {min(ratios):.2f}–{max(ratios):.2f}    "
                     + (f"≤ {target:.2f}" if target else "—"))
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("program")
    ap.add_argument("floor")
    ap.add_argument("--runs", type=int, default=10, help="starts of each program (default 10)")
    ap.add_argument("--idle", type=float, default=3.0, help="seconds of idling (default 3)")
    ap.add_argument("--keys", type=int, default=40, help="keys typed in each start (default 40)")
    ap.add_argument("--raw", help="write every start's figures to this JSON file")
    args = ap.parse_args()
    keys = (KEY_ROUND * (args.keys // len(KEY_ROUND) + 1))[: max(0, args.keys)]

    folder = tempfile.mkdtemp(prefix="dravello-startup-")
    xvfb, display = start_xvfb()
    bus = None
    try:
        mapwait = build_mapwait(folder)
        programs = {}
        for name, path in (("calculator", args.program), ("floor", args.floor)):
            # Each in a folder of its own: the calculator keeps its settings file beside it.
            place = os.path.join(folder, name)
            os.makedirs(place)
            programs[name] = os.path.join(place, os.path.basename(path))
            shutil.copy2(os.path.abspath(path), programs[name])
        # The calculator's modules beside it, where it looks for them at their first use.
        for module in glob.glob(os.path.join(os.path.dirname(os.path.abspath(args.program)),
                                             "libdravello-*.so")):
            shutil.copy2(module, os.path.dirname(programs["calculator"]))
        with open(os.path.splitext(programs["calculator"])[0] + ".INI", "w",
                  encoding="cp1252", newline="") as f:
            f.write(SETTINGS)

        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                            "QT_QPA_PLATFORM", "SESSION_MANAGER", "XDG_CONFIG_HOME",
                            "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                            "QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_ACCESSIBILITY")}
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", LANG="es_ES.UTF-8",
                   XDG_RUNTIME_DIR=os.path.join(folder, "run"))
        for name in [k for k in env if k.startswith("LC_") or k == "LANGUAGE"]:
            del env[name]
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        bus, env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(env)
        # The pointer rests in a corner, outside both windows, as while typing: over a window
        # it would light what it hovers (the list's rows) at every key.
        subprocess.run(["xdotool", "mousemove", "0", "0"], env=env, check=True)

        # One start of each to warm the page cache; not counted.
        for path in programs.values():
            Start(mapwait, path, env).end()

        rounds = []
        for i in range(args.runs):
            figures = {name: measure(mapwait, path, env, args.idle, keys)
                       for name, path in programs.items()}
            rounds.append(figures)
            print(f"round {i + 1}/{args.runs}: " + "; ".join(
                f"{name} {f['mapped']:.1f} ms {f['rss']:.1f} MiB"
                + (f" {f['key']:.3f} ms/key" if "key" in f else "")
                for name, f in figures.items()), file=sys.stderr, flush=True)
    finally:
        for server in (bus, xvfb):
            if server is not None:
                server.terminate()
                server.wait(timeout=10)
        shutil.rmtree(folder, ignore_errors=True)

    if args.raw:
        with open(args.raw, "w") as f:
            json.dump({"idle_s": args.idle, "keys": keys, "rounds": rounds}, f, indent=1)
    print(report(rounds, args.idle))
    return 0


if __name__ == "__main__":
    sys.exit(main())
