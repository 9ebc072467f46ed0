#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the picture of the window that the README and the AppStream metadata show: the real
program under Xvfb (tests/e2e/driver), Spanish regional settings, a short sum in euros, a
product in dollars and back to euros, with pesetas and dollars in the equivalences.

    screenshot.py PROGRAM PNG

scripts/screenshot.sh builds the program and writes docs/ventana.png.
"""

import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e", "driver"))
from dravello_driver import Session  # noqa: E402

SETTINGS = """[MONEDAS]\r
Moneda0=Eur\r
Decimales0=2\r
Moneda1=Pts\r
Decimales1=0\r
Cambio1=0,0060101\r
Moneda2=Usd\r
Decimales2=2\r
Cambio2=0,92\r
"""


def main(program, png):
    folder = tempfile.mkdtemp(prefix="dravello-screenshot.")
    try:
        # A copy beside its own settings file, whatever the build folder holds.
        copy = os.path.join(folder, "CalculadoraDravello")
        shutil.copy2(program, copy)
        with open(os.path.join(folder, "CalculadoraDravello.INI"), "w", newline="") as f:
            f.write(SETTINGS)
        with Session([copy], wait_name="Display", env={"LANG": "es_ES.UTF-8"}) as s:
            s.type("1250+380\n")
            s.wait_for("Display", "1.630,00")
            s.click("Usd (moneda 2)")
            s.wait_for("Moneda actual", "Usd")
            s.type("*2\n")
            s.wait_for("Display", "3.543,48")
            s.click("#SpeedButton0")
            s.wait_for("Moneda actual", "Eur")
            s.screenshot(os.path.abspath(png))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"wrote {png}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
