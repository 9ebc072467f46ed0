#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program, driven as a user and a screen reader would: real X key presses and mouse
clicks under Xvfb, every reading over AT-SPI (the project's own driver, tests/e2e/driver).

    e2e_calculator.py DRIVER_DIR PROGRAM OUT_DIR

The program is copied into a fresh folder with a settings file beside it, so that the run
does not depend on any settings file of the build. OUT_DIR receives a screenshot.
"""

import os
import sys

driver_dir, program, out_dir = sys.argv[1:4]
sys.path.insert(0, driver_dir)
from dravello_driver import Session  # noqa: E402
from e2e_support import PTS_EUR, check, program_copy, summary, until, wait  # noqa: E402


def height(s, expected):
    """The window's height once it is `expected` (or what it is after 3 s)."""
    return until(lambda: s.geometry()["height"], expected)


def main():
    os.makedirs(out_dir, exist_ok=True)
    with program_copy(program, PTS_EUR) as (_, copy):
        s = Session([copy], wait_name="Display",
                    env={"LANG": "C.UTF-8", "DRAVELLO_ACCESSIBLE_IDS": "1"})
        s.start()
        try:
            check("start-up display", s.read("Display"), "0")
            check("first tab stop has the focus", s.focused().get("name"), "7")

            # 1 + 2 Return, typed.
            s.type("1+2\n")
            check("1 + 2 Return", wait(s, "Display", "3"), "3")
            check("tape", s.list_items("Operaciones Realizadas"), ["1 + 2 = 3"])
            check("operator indicator", s.read("Operación"), "=")
            check("focus rests on Ejecutar", s.focused().get("name"), "Ejecutar <--- (=)")

            # The equivalences fill at the first display change; a coin button switches.
            s.type("1000")
            check("display in Pts", wait(s, "Display", "1,000"), "1,000")
            check("equivalence in Eur", wait(s, "Equivalencia 1", "6.01"), "6.01")
            check("its currency", s.read("Moneda de la equivalencia 1"), "Eur")
            s.click("Eur (moneda 1)")
            check("switched display", wait(s, "Display", "6.01"), "6.01")
            check("currency strip", s.read("Moneda actual"), "Eur")
            check("switch lines", s.list_items("Operaciones Realizadas")[-3:],
                  ["(1,000 Pts)", "---> Cambio a Moneda (Eur)", "(6.01 Eur)"])
            check("base in the current slot", s.read("Equivalencia 1"), "1,000")

            # Mouse clicks and a screen reader's press action.
            s.click("7")
            s.click("+", how="action")
            s.click("2")
            s.click("Ejecutar <--- (=)")
            check("7 + 2 by mouse", wait(s, "Display", "9.00"), "9.00")

            # An accelerator letter, Delete, Backspace.
            s.type("m")
            check("m adds to the memory", wait(s, "Memoria auxiliar", "M+"), "M+")
            check("its line", s.list_items("Operaciones Realizadas")[-1], "9.00 --> Memo+ [9.00]")
            s.type("45")
            s.key("Delete")
            check("Delete", wait(s, "Display", "4.00"), "4.00")
            s.type("\b")
            check("Backspace", wait(s, "Display", "0.00"), "0.00")

            # The collapsible sections (screen pixels, 96 dpi).
            check("full height", height(s, 400), 400)
            s.click("Abrir - Cerrar Equivalencias")
            check("equivalences closed", height(s, 322), 322)
            s.click("Abrir - Cerrar Operaciones")
            check("operations closed", height(s, 199), 199)
            s.type("v")
            check("always on top", wait(s, "Indicador Siempre Visible", "activado"), "activado")
            s.screenshot(os.path.join(out_dir, "collapsed.png"))
            s.type("v")
            check("ordinary again", wait(s, "Indicador Siempre Visible", "desactivado"), "desactivado")
            s.type("5")
            check("typing while collapsed", wait(s, "Display", "5.00"), "5.00")
            s.type("{alt+t}")
            check("Alt+T resets", wait(s, "Display", "0.00"), "0.00")
            # Reopen as a screen reader does, through the buttons' press action.
            s.click("Abrir - Cerrar Operaciones", how="action")
            check("operations reopened", height(s, 322), 322)
            s.click("Abrir - Cerrar Equivalencias", how="action")
            check("equivalences reopened", height(s, 400), 400)
            s.screenshot(os.path.join(out_dir, "window.png"))

            # Closing ends the program at once.
            s.click("Cerrar")
            check("window gone", until(s.windows, [], seconds=5), [])
            s.wait_exit(timeout=30)  # a sanitizer build looks for leaks at exit
        finally:
            report = s.teardown()
    check("program ended by itself", report.get("exit_codes", {}).get("program"), 0)
    check("nothing left running", report.get("left_running"), [])
    return summary("e2e")


if __name__ == "__main__":
    sys.exit(main())
