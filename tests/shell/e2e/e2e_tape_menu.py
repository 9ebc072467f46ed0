#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The operations list's menu in the real program, under Spanish regional settings, driven by
real X key presses and mouse clicks under Xvfb and read over AT-SPI.

    e2e_tape_menu.py DRIVER_DIR PROGRAM OUT_DIR

The keyboard opens the menu (the Menu key, Shift+F10) and picks its entries by their underlined
letters, as a keyboard or screen-reader user does; the tape saved through the file dialog is
compared byte for byte.
"""

import os
import sys
import time

driver_dir, program, out_dir = sys.argv[1:4]
sys.path.insert(0, driver_dir)
from dravello_driver import Session  # noqa: E402
from e2e_support import check, program_copy, summary, window_count  # noqa: E402

LINES = ["1.234,50 + 0,50 = 1.235,00", "200,00 % 15,00 = 30,00"]
TEXT = "".join(line + "\n" for line in LINES).encode()
CSV = ("\ufeffOperando 1,Operador,Operando 2,Resultado,Moneda,Cambio,Línea,Corregida\r\n"
       '"1234,50",+,"0,50","1235,00",Pts,,"1.234,50 + 0,50 = 1.235,00",\r\n'
       '"200,00",%,"15,00","30,00",Pts,,"200,00 % 15,00 = 30,00",\r\n').encode()

def file_once(path, timeout=10.0):
    """The bytes of `path` once it exists (None after the timeout)."""
    deadline = time.monotonic() + timeout
    while not os.path.exists(path):
        if time.monotonic() > deadline:
            return None
        time.sleep(0.05)
    time.sleep(0.2)
    with open(path, "rb") as f:
        return f.read()


def save_through_dialog(s, path):
    s.key("Menu")
    window_count(s, 2)
    s.key("g")
    check(f"file dialog for {os.path.basename(path)}", window_count(s, 2), 2)
    # The name field has the focus, its proposal selected: typing replaces it.
    s.type(path + "\n")
    return file_once(path)


def main():
    os.makedirs(out_dir, exist_ok=True)
    with program_copy(program, prefix="dravello-e2e-tape-") as (folder, copy):
        home = os.path.join(folder, "home")
        os.makedirs(home)

        s = Session([copy], wait_name="Display",
                    env={"LANG": "es_ES.UTF-8", "HOME": home, "DRAVELLO_ACCESSIBLE_IDS": "1",
                         "XDG_STATE_HOME": os.path.join(folder, "state")})
        s.start()
        try:
            s.type("1234,5+0,5\n")
            s.wait_for("Display", "1.235,00", timeout=3.0)
            s.type("200%15=")
            s.wait_for("Display", "30,00", timeout=3.0)
            check("tape", s.list_items("Operaciones Realizadas"), LINES)

            # Into the list with the mouse: the first line is selected.
            s.click({"role": "list item", "index": 0})
            # The driver names the list's current row when the list has the focus.
            check("focus in the list", s.focused(), {"role": "list item", "name": LINES[0]})

            s.key("Menu")
            check("the Menu key opens the menu", window_count(s, 2), 2)
            s.screenshot(os.path.join(out_dir, "tape-menu.png"), window=False)
            s.key("l")
            check("menu closed", window_count(s, 1), 1)
            check("Copiar línea", s.clipboard(), LINES[0])

            s.key("shift+F10")
            check("Shift+F10 opens the menu", window_count(s, 2), 2)
            s.key("t")
            window_count(s, 1)
            check("Copiar todo", s.clipboard(), "".join(line + "\n" for line in LINES))

            # The menu's keys gave no command.
            check("display unchanged", s.read("Display"), "30,00")
            check("tape unchanged", s.list_items("Operaciones Realizadas"), LINES)
            check("focus still in the list", s.focused().get("role"), "list item")

            # Cancelling the file dialog saves nothing.
            s.key("Menu")
            window_count(s, 2)
            s.key("g")
            window_count(s, 2)
            s.key("Escape")
            check("file dialog closed", window_count(s, 1), 1)
            check("nothing saved", os.listdir(home), [])

            check("saved as CSV", save_through_dialog(s, os.path.join(home, "cinta.csv")), CSV)
            window_count(s, 1)
            check("saved as text", save_through_dialog(s, os.path.join(home, "cinta.txt")), TEXT)
            window_count(s, 1)
            check("no temporary file left", sorted(os.listdir(home)), ["cinta.csv", "cinta.txt"])
        finally:
            s.teardown()
    return summary("e2e")


if __name__ == "__main__":
    sys.exit(main())
