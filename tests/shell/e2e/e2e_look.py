#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program as users meet it on their own desktops: regional settings, screens of
120 dpi and twice the size, and the toolkit's own texts. Real X input under Xvfb, readings over
AT-SPI (tests/e2e/driver).

    e2e_look.py GUIPROBE_DIR PROGRAM OUT_DIR [SCENARIO]

Without SCENARIO every scenario runs, each in a process of its own (one AT-SPI session per
process). OUT_DIR receives a screenshot of each.
"""

import os
import subprocess
import sys

driver_dir, program, out_dir = sys.argv[1:4]
sys.path.insert(0, driver_dir)
from dravello_driver import Session  # noqa: E402
from e2e_support import PTS_EUR, check, program_copy, summary, until, wait  # noqa: E402


def size(s, expected):
    """The window's size once it is `expected` (or what it is after 3 s)."""
    return until(lambda: (s.geometry()["width"], s.geometry()["height"]), expected)


def rate_strip(s, name, point):
    """The rate panel before and after a currency switch, in the regional notation."""
    check(f"{name}: base rate", s.read("#PanelEqui"), "1")
    s.click("#SpeedButton1", how="action")
    check(f"{name}: switched", wait(s, "#PanelMoneda", "Eur"), "Eur")
    check(f"{name}: rate of Eur", wait(s, "#PanelEqui", f"166{point}386"), f"166{point}386")
    s.click("#SpeedButton0", how="action")
    check(f"{name}: back to the base", wait(s, "#PanelMoneda", "Pts"), "Pts")
    check(f"{name}: base rate again", wait(s, "#PanelEqui", "1"), "1")


def collapse(s, name, full, steps):
    """Both sections closed and opened again: the heights step by `steps` pixels."""
    width, height = full
    check(f"{name}: full size", size(s, full), full)
    s.click("#GradBtn1", how="action")
    check(f"{name}: equivalences closed", size(s, (width, height - steps[0])),
          (width, height - steps[0]))
    s.click("#GradBtn2", how="action")
    closed = (width, height - steps[0] - steps[1])
    check(f"{name}: operations closed", size(s, closed), closed)
    s.click("#GradBtn2", how="action")
    check(f"{name}: operations reopened", size(s, (width, height - steps[0])),
          (width, height - steps[0]))
    s.click("#GradBtn1", how="action")
    check(f"{name}: equivalences reopened", size(s, full), full)


def toolkit_texts(s, name):
    """A message box of the toolkit under LANG=C: its button speaks Spanish."""
    s.type("1/0\n")
    button = {"name": "Aceptar", "role": "push button"}
    try:
        got = s.wait_for(button, "Aceptar", timeout=3.0)
    except Exception:  # noqa: BLE001
        got = [w.get("name") for w in s.windows()]
    check(f"{name}: the box's button", got, "Aceptar")
    s.key("Return")


# name: (environment, what to check)
SCENARIOS = {
    "es_ES": ({"LANG": "es_ES.UTF-8"}, lambda s: rate_strip(s, "es_ES", ",")),
    "C": ({"LANG": "C.UTF-8"}, lambda s: rate_strip(s, "C", ".")),
    "fr_FR": ({"LANG": "fr_FR.UTF-8"}, lambda s: rate_strip(s, "fr_FR", ",")),
    # The collapse steps are screen pixels: 78 and 123 whatever the dots per inch.
    "96dpi": ({"LANG": "es_ES.UTF-8"}, lambda s: collapse(s, "96 dpi", (537, 400), (78, 123))),
    "120dpi": ({"LANG": "es_ES.UTF-8", "QT_FONT_DPI": "120"},
               lambda s: collapse(s, "120 dpi", (671, 500), (78, 123))),
    # Twice the size enlarges everything, the steps with it.
    "scale2": ({"LANG": "es_ES.UTF-8", "QT_SCALE_FACTOR": "2"},
               lambda s: collapse(s, "twice the size", (1074, 800), (156, 246))),
    "toolkit": ({"LANG": "C"}, lambda s: toolkit_texts(s, "LANG=C")),
    # Qt's GTK platform theme under a dark GTK theme: the window keeps its own look, and the
    # program is found among the two applications its process shows (GTK registers one too).
    "gtk3": ({"LANG": "es_ES.UTF-8", "QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"},
             lambda s: rate_strip(s, "gtk3", ",")),
}


def run(scenario):
    env, steps = SCENARIOS[scenario]
    with program_copy(program, PTS_EUR, prefix="dravello-look-") as (_, copy):
        s = Session([copy], wait_name="Display", env=dict(env, DRAVELLO_ACCESSIBLE_IDS="1"))
        s.start()
        try:
            steps(s)
            s.screenshot(os.path.join(out_dir, f"look-{scenario}.png"))
        finally:
            s.teardown()
    return summary(f"e2e look {scenario}")


def main():
    os.makedirs(out_dir, exist_ok=True)
    if len(sys.argv) > 4:
        return run(sys.argv[4])
    failed = [name for name in SCENARIOS
              if subprocess.run([sys.executable, __file__, driver_dir, program, out_dir,
                                 name]).returncode != 0]
    print(f"e2e look: {len(failed)} of {len(SCENARIOS)} scenarios failed {failed}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
