#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up, memory, idle and per-key figures of the calculator under Xvfb.

    startup_bench.py PROGRAM [--runs N] [--idle S] [--keys N]

For each of N runs (default 10) on a private Xvfb at 96 dpi, without a window manager:
  mapped   time from exec to the main window mapped (mapwait.c, which listens for the
           X server's MapNotify instead of polling);
  rss      resident memory 1 s after the window was mapped (VmRSS);
  idle     CPU time the program used over S seconds (default 10) of idling after that, and
           its wake-ups: context switches of all its threads over the same time.
In one further run, the program's CPU time per key while keys are typed through XTEST
(xdotool), end to end: key event, routing, flash, engine, display, tape.
Prints medians with the minimum and maximum. Needs Xvfb, xdotool and a C compiler with the
Xlib headers (scripts/setup.sh installs them).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def build_mapwait(folder):
    exe = os.path.join(folder, "mapwait")
    subprocess.run(["cc", "-O2", "-o", exe, os.path.join(HERE, "mapwait.c"), "-lX11"], check=True)
    return exe


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x800x24",
                             "-dpi", "96", "-nolisten", "tcp", "-noreset"],
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


def cpu_ns(pid):
    """CPU time of all threads of `pid` so far, in nanoseconds (schedstat)."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
            total += int(f.read().split()[0])
    return total


def switches(pid):
    """Context switches of all threads of `pid` so far: each is a wake-up or a preemption."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{tid}/status") as f:
            for line in f:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
    return total


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class Run:
    """One start of the program in a fresh folder (so the settings file is the default one)."""

    def __init__(self, mapwait, program, env, folder):
        copy = os.path.join(folder, os.path.basename(program))
        if not os.path.exists(copy):
            shutil.copy2(program, copy)
        ini = os.path.join(folder, "CalculadoraDravello.INI")
        if os.path.exists(ini):
            os.remove(ini)
        # A journal folder of its own: no run finds another's session to offer back.
        env = dict(env, XDG_STATE_HOME=tempfile.mkdtemp(prefix="state-", dir=folder))
        self.proc = subprocess.Popen([mapwait, copy], env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True)
        mapped, pid = self.proc.stdout.readline().split()
        self.mapped_ms = float(mapped)
        self.pid = int(pid)

    def end(self):
        try:
            os.kill(self.pid, 15)
        except ProcessLookupError:
            pass
        self.proc.wait(timeout=10)


def summary(name, values, unit):
    return (f"{name:28} median {statistics.median(values):9.2f} {unit}   "
            f"(min {min(values):.2f}, max {max(values):.2f}, n={len(values)})")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("program")
    ap.add_argument("--runs", type=int, default=10)
    ap.add_argument("--idle", type=float, default=10.0)
    ap.add_argument("--keys", type=int, default=100)
    args = ap.parse_args()
    program = os.path.abspath(args.program)

    folder = tempfile.mkdtemp(prefix="dravello-startup-")
    xvfb, display = start_xvfb()
    try:
        mapwait = build_mapwait(folder)
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                            "QT_QPA_PLATFORM", "SESSION_MANAGER")}
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", LANG=env.get("LANG", "C.UTF-8"))
        env["XDG_RUNTIME_DIR"] = os.path.join(folder, "run")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)

        # One start to warm the page cache; it is not counted.
        Run(mapwait, program, env, folder).end()

        mapped, rss, idle_cpu, idle_wakeups = [], [], [], []
        for _ in range(args.runs):
            run = Run(mapwait, program, env, folder)
            try:
                mapped.append(run.mapped_ms)
                time.sleep(1.0)
                rss.append(rss_kib(run.pid) / 1024)
                cpu0, sw0 = cpu_ns(run.pid), switches(run.pid)
                time.sleep(args.idle)
                idle_cpu.append((cpu_ns(run.pid) - cpu0) / 1e6)
                idle_wakeups.append(switches(run.pid) - sw0)
            finally:
                run.end()

        # CPU time per key, end to end.
        run = Run(mapwait, program, env, folder)
        try:
            time.sleep(1.0)
            xenv = dict(env)
            subprocess.run(["xdotool", "mousemove", "640", "400"], env=xenv, check=True)
            keys = ("1234+5678=" * (args.keys // 10 + 1))[: args.keys]
            cpu0 = cpu_ns(run.pid)
            # 150 ms apart: each key's 100 ms flash is over before the next arrives.
            subprocess.run(["xdotool", "type", "--delay", "150", keys], env=xenv, check=True)
            time.sleep(0.5)
            per_key = (cpu_ns(run.pid) - cpu0) / 1e6 / len(keys)
        finally:
            run.end()
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)
        shutil.rmtree(folder, ignore_errors=True)

    print(summary("exec to window mapped", mapped, "ms"))
    print(summary("resident memory after 1 s", rss, "MiB"))
    print(summary(f"CPU time in {args.idle:g} s idle", idle_cpu, "ms"))
    print(summary(f"wake-ups in {args.idle:g} s idle", idle_wakeups, ""))
    print(f"{'CPU time per key':28} {per_key:9.3f} ms   ({len(keys)} keys typed 150 ms apart)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
