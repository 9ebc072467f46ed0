#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""F1 opens the user's manual through a stand-in `xdg-open` that writes down what it is asked to
open: MODE build, a copy of the build's program with the build's manual beside it; installed,
the build installed into a scratch prefix; no_browser, nothing on the PATH to open it, so a
message names the file. Display and tape stay as they were.

    e2e_manual.py DRIVER_DIR PROGRAM BUILD_DIR MODE
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

with program_copy(program, prefix="dravello-manual-") as (folder, copy):
    manual = os.path.join(folder, "manual", "index.html")
    if mode == "installed":
        subprocess.run(["cmake", "--install", build_dir, "--prefix", folder, "--component",
                        "Unspecified"], check=True, stdout=subprocess.DEVNULL)
        copy = os.path.join(folder, "bin", "CalculadoraDravello")
        manual = os.path.join(folder, "share/doc/calculadora-dravello/manual/index.html")
    else:
        shutil.copytree(os.path.join(os.path.dirname(program), "manual"), os.path.dirname(manual))
    stand_in, asked = os.path.join(folder, "stand-in"), os.path.join(folder, "asked")
    os.mkdir(stand_in)
    if mode != "no_browser":
        with open(os.path.join(stand_in, "xdg-open"), "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >> '{asked}'\n")
        os.chmod(os.path.join(stand_in, "xdg-open"), 0o755)
    path = stand_in if mode == "no_browser" else stand_in + os.pathsep + os.environ["PATH"]

    with Session([copy], wait_name="Display", env={"LANG": "es_ES.UTF-8", "PATH": path}) as s:
        s.type("12")
        s.key("F1")
        if mode == "no_browser":
            message = [NO_BROWSER + manual]
            shown = until(lambda: [t for _, _, t in s.texts() if t and manual in t], message)
            check("the message names the manual's file", shown, message)
            s.key("Return")
            check("the message closed", window_count(s, 1), 1)
        else:
            url = f"file://{manual}\n"
            opened = until(lambda: os.path.exists(asked) and open(asked).read(), url)
            check("the browser was asked for the manual", opened, url)
            check("the manual is there", os.path.isfile(manual), True)
        check("the display is as it was", s.read("Display"), "12,00")
        check("the tape is as it was", s.list_items("Operaciones Realizadas"), [])
sys.exit(summary(f"e2e manual {mode}"))
