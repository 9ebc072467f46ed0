#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program under Spanish regional settings, used from the keyboard alone and read as a
screen reader reads it: real X key presses under Xvfb, every reading over AT-SPI.

    e2e_keyboard.py DRIVER_DIR PROGRAM OUT_DIR [keys|reader]

keys (the default) types with the keyboard only: the clipboard, currency, section and dialog
keys, the focus cycle with the operations section closed, pasting grouped numbers. It runs with
DRAVELLO_ACCESSIBLE_IDS=1, as every end-to-end run does. reader runs without it and checks what
a screen reader says: the hints as descriptions, the window as a frame, the newest tape line as
a notification. OUT_DIR receives a screenshot of the focus frame.
"""

import os
import sys
import time

driver_dir, program, out_dir = sys.argv[1:4]
mode = sys.argv[4] if len(sys.argv) > 4 else "keys"
sys.path.insert(0, driver_dir)
from dravello_driver import Session  # noqa: E402
from e2e_support import check, program_copy, summary, until, wait  # noqa: E402

SETTINGS = """[MONEDAS]
Moneda0=Pts
Decimales0=2
Moneda1=Eur
Decimales1=2
Cambio1=166,386
"""
TAPE = "Operaciones Realizadas"

def describe(s, sel):
    """What AT-SPI says of one object, {} when there is none."""
    try:
        return s.describe(sel)
    except Exception:  # noqa: BLE001
        return {}


def last_line(s):
    items = s.list_items(TAPE)
    return items[-1] if items else None


def keys(s):
    check("first tab stop has the focus", s.focused().get("name"), "7")
    s.type("\t")
    check("Tab moves on", s.focused().get("name"), "8")

    # The clipboard from the keyboard.
    s.type("1234,5")
    s.type("{ctrl+c}")
    check("Ctrl+C copies the exact value", until(lambda: s.clipboard(), "1234,5"), "1234,5")
    check("its line", last_line(s), "Copiado a ClipBoard 1.234,50")
    check("and lights no button: memory C untouched", s.read("Memoria C"), "M(c)-> 0,00")
    s.set_clipboard("1\u00a0234\u00a0567,5")
    s.type("{ctrl+v}")
    check("Ctrl+V pastes a grouped number", wait(s, "Display", "1.234.567,50"), "1.234.567,50")
    s.set_clipboard("\u22127,25")
    s.type("{shift+Insert}")
    check("Shift+Insert pastes the minus sign", wait(s, "Display", "-7,25"), "-7,25")
    lines = len(s.list_items(TAPE))
    s.set_clipboard("doce")
    s.type("{ctrl+v}")
    time.sleep(0.3)
    check("words change nothing", s.read("Display"), "-7,25")
    check("and write no line", len(s.list_items(TAPE)), lines)

    # Currencies by Ctrl and their number.
    s.type("1000")
    s.type("{ctrl+1}")
    check("Ctrl+1 switches to Eur", wait(s, "Moneda actual", "Eur"), "Eur")
    check("converted", s.read("Display"), "6,01")
    s.type("{ctrl+0}")
    check("Ctrl+0 back to Pts", wait(s, "Moneda actual", "Pts"), "Pts")
    s.type("{ctrl+2}")
    time.sleep(0.3)
    check("Ctrl+2, no currency there: nothing", s.read("Display"), "1.000,00")

    # The sections: F9 and Shift+F9.
    s.type("{F9}")
    check("F9 closes the operations", until(lambda: s.geometry()["height"], 199), 199)
    s.type("5")
    reached = set()
    for _ in range(45):
        s.type("\t")
        reached.add(s.focused().get("name"))
    check("the hidden list takes no focus", TAPE in reached, False)
    s.type("e")
    check("E then subtracts from the memory", wait(s, "Memoria auxiliar", "M+"), "M+")
    check("its line", last_line(s), "5,00 --> Memo- [-5,00]")
    s.type("{shift+F9}{ctrl+1}")
    time.sleep(0.3)
    check("keys of hidden buttons do nothing", (s.geometry()["height"], s.read("Moneda actual")),
          (199, "Pts"))
    s.type("{F9}")
    check("F9 opens them again", until(lambda: s.geometry()["height"], 400), 400)
    s.type("{shift+F9}")
    check("Shift+F9 closes the equivalences", until(lambda: s.geometry()["height"], 322), 322)
    s.type("{shift+F9}")
    check("and opens them", until(lambda: s.geometry()["height"], 400), 400)

    # Configurar and printing open their dialogs; Escape closes them.
    for key, what in (("{ctrl+comma}", "Ctrl+, opens Configurar"), ("{ctrl+p}", "Ctrl+P prints")):
        s.type(key)
        check(what, until(lambda: len(s.windows()) > 1, True), True)
        s.key("Escape")
        check("Escape closes it", until(lambda: len(s.windows()) == 1, True), True)

    s.type("2+2\n")
    check("Return gives =", wait(s, "Display", "4,00"), "4,00")
    check("the focus rests on Ejecutar", s.focused().get("name"), "Ejecutar <--- (=)")
    s.screenshot(os.path.join(out_dir, "focus-frame.png"))


def reader(s):
    check("hint as description", describe(s, "CLr").get("description"), "Borra Display")
    check("no hint, no description", describe(s, "7").get("description"), "")
    check("picture button",
          describe(s, "Trae Clipboard a Display").get("description"), "Trae Clipboard a Display")
    window = describe(s, {"name": "Calculadora Dravello", "role": "frame"})
    check("the window is a frame", window.get("role"), "frame")
    s.type("1+2\n")
    check("1 + 2 Return", wait(s, "Display", "3,00"), "3,00")
    line = "1,00 + 2,00 = 3,00"
    note = describe(s, {"name": line, "role": "notification"})
    check("the new line as a notification", (note.get("role"), note.get("description")),
          ("notification", line))
    s.type("4m")
    line = "4,00 --> Memo+ [4,00]"
    check("each new line", wait(s, {"role": "notification"}, line), line)


def main():
    os.makedirs(out_dir, exist_ok=True)
    # The driver sets DRAVELLO_ACCESSIBLE_IDS=1 unless told otherwise (None removes it).
    env = {"LANG": "es_ES.UTF-8",
           "DRAVELLO_ACCESSIBLE_IDS": None if mode == "reader" else "1"}
    with program_copy(program, SETTINGS) as (_, copy):
        s = Session([copy], wait_name="Display", env=env)
        s.start()
        try:
            (reader if mode == "reader" else keys)(s)
        finally:
            s.teardown()
    return summary("e2e")


if __name__ == "__main__":
    sys.exit(main())
