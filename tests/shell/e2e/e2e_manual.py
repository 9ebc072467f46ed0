#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""F1 opens the user's manual in the desktop's browser: here a stand-in `xdg-open`, first on the
program's PATH, that writes down what it is asked to open. Real X input under Xvfb, readings
over AT-SPI (tests/e2e/driver).

    e2e_manual.py DRIVER_DIR PROGRAM BUILD_DIR MODE

MODE build: a copy of the build's program with the build's manual beside it opens that manual;
installed: the build installed into a scratch prefix opens the prefix's manual; no_browser:
with nothing on the PATH to open it, a message names the manual's file. In every mode the
calculator's display and tape stay as they were.
"""

import os
import shutil
import subprocess
import sys

driver_dir, program, build_dir, mode = sys.argv[1:5]
sys.path.insert(0, driver_dir)
from dravello_driver import Session  # noqa: E402
from e2e_support import check, program_copy, summary, until, window_count  # noqa: E402

NO_BROWSER = ("No hay ningún navegador con el que abrir el manual de la calculadora. Puede "
              "abrirlo usted mismo; está en:\n")


def main():
    with program_copy(program, prefix="dravello-manual-") as (folder, copy):
        if mode == "installed":
            prefix = os.path.join(folder, "prefix")
            subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix, "--component",
                            "Unspecified"], check=True, stdout=subprocess.DEVNULL)
            copy = os.path.join(prefix, "bin", "CalculadoraDravello")
            manual = os.path.join(prefix, "share/doc/calculadora-dravello/manual/index.html")
        else:
            shutil.copytree(os.path.join(os.path.dirname(program), "manual"),
                            os.path.join(folder, "manual"))
            manual = os.path.join(folder, "manual", "index.html")
        stand_in, asked = os.path.join(folder, "bin"), os.path.join(folder, "asked")
        os.mkdir(stand_in)
        path = stand_in
        if mode != "no_browser":
            with open(os.path.join(stand_in, "xdg-open"), "w") as f:
                f.write(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >> '{asked}'\n")
            os.chmod(os.path.join(stand_in, "xdg-open"), 0o755)
            path += os.pathsep + os.environ["PATH"]

        with Session([copy], wait_name="Display", env={"LANG": "es_ES.UTF-8", "PATH": path}) as s:
            s.type("12")
            s.key("F1")
            if mode == "no_browser":
                texts = until(lambda: [t for _, _, t in s.texts() if t and manual in t],
                              [NO_BROWSER + manual], seconds=5)
                check("the message names the manual's file", texts, [NO_BROWSER + manual])
                s.key("Return")
                check("the message closed", window_count(s, 1), 1)
            else:
                opened = until(lambda: open(asked).read() if os.path.exists(asked) else None,
                               f"file://{manual}\n", seconds=5)
                check("the browser was asked for the manual once", opened, f"file://{manual}\n")
                check("the manual is there", os.path.isfile(manual), True)
            check("the display is as it was", s.read("Display"), "12,00")
            check("the tape is as it was", s.list_items("Operaciones Realizadas"), [])
    return summary(f"e2e manual {mode}")


if __name__ == "__main__":
    sys.exit(main())
