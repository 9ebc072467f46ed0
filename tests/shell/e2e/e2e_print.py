#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The print button of the real program, with no printer and with one.

    e2e_print.py DRIVER_DIR PROGRAM no_printer
        With no print server at all: the button says so in a message box, prints nothing and
        writes no file (no ~/print.pdf).
    e2e_print.py DRIVER_DIR PROGRAM printer
        With a PDF printer on a print server of the test's own (tests/e2e/private_cups.py,
        needs root; exit status 77 otherwise): the print dialog opens, cancelling it prints
        nothing; printing puts the tape on paper in a job titled "Operaciones Realizadas";
        closing the window then ends the program with status 0 (a sanitizer build ends it
        otherwise when anything went wrong on the way).
"""

import os
import subprocess
import sys
import tempfile
import time

driver_dir, program, mode = sys.argv[1:4]
sys.path.insert(0, driver_dir)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from dravello_driver import Session  # noqa: E402
from e2e_support import check, summary  # noqa: E402

def wait_windows(s, count, timeout=10.0):
    """The program's windows once there are `count` of them (or what there is after timeout)."""
    deadline = time.monotonic() + timeout
    while True:
        windows = s.windows()
        if len(windows) == count or time.monotonic() > deadline:
            return windows
        time.sleep(0.05)


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


def close_and_report(s):
    s.click("Cerrar")
    check("window gone", wait_windows(s, 0, timeout=5), [])
    status = s.wait_exit(timeout=30)
    check("program ended by itself", status, 0)
    if status != 0:
        print(s.program_output()[-6000:])


def no_printer():
    cwd = tempfile.mkdtemp(prefix="dravello-print-cwd.")
    s = Session([program], wait_name="Display", env={"LANG": "es_ES.UTF-8"}, cwd=cwd)
    s.start()
    try:
        home_before = files_under(s.home)
        s.type("12+3\n")
        s.wait_for("Display", "15,00")
        s.click("#BitBtn3")
        windows = wait_windows(s, 2)
        check("a message box opens", [w["name"] for w in windows],
              ["Calculadora Dravello", "Calculadora Dravello"])
        texts = [text for role, name, text in s.texts() if text]
        check("it says there is no printer", "No hay ninguna impresora instalada." in texts, True)
        s.key("Return")
        check("the box closes", len(wait_windows(s, 1)), 1)
        # The session's journal is the one file the program keeps in HOME as it works.
        written = [f for f in files_under(s.home)
                   if not f.startswith(".local/state/CalculadoraDravello/")]
        check("nothing written in HOME", written, home_before)
        check("nothing written in the working folder", files_under(cwd), [])
        check("the tape is untouched", s.list_items("Operaciones Realizadas"),
              ["12,00 + 3,00 = 15,00"])
        close_and_report(s)
    finally:
        s.teardown()
        os.rmdir(cwd)


def with_printer():
    from private_cups import PrivateCups, missing
    if os.geteuid() != 0:
        print("skipped: the test's own print server must start as root")
        return 77
    if missing():
        print(missing())
        return 1
    with PrivateCups() as cups:
        cups.add_queue("dravello")
        s = Session([program], wait_name="Display",
                    env={"LANG": "es_ES.UTF-8", "CUPS_SERVER": cups.socket})
        s.start()
        try:
            s.type("12+3\n")
            s.wait_for("Display", "15,00")
            s.click("#BitBtn3")
            windows = wait_windows(s, 2)
            check("the print dialog opens", len(windows), 2)
            s.key("Escape")
            check("cancelling closes it", len(wait_windows(s, 1)), 1)
            time.sleep(1)
            check("cancelling prints nothing", cups.jobs("all"), [])

            s.type("*2\n")
            s.wait_for("Display", "30,00")
            s.click("#BitBtn3")
            check("the print dialog opens again", len(wait_windows(s, 2)), 2)
            s.key("Return")
            check("printing closes it", len(wait_windows(s, 1)), 1)
            pdf = cups.wait_for_output("dravello")
            text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True,
                                  text=True).stdout
            check("the tape on paper", [line for line in text.split("\n") if line.strip()
                                        and line != "\f"],
                  ["12,00 + 3,00 = 15,00", "15,00 * 2,00 = 30,00"])
            check("the job's title", [title for _, title in cups.jobs()],
                  ["Operaciones Realizadas"])
            close_and_report(s)
        finally:
            s.teardown()
    return 0


if __name__ == "__main__":
    status = no_printer() if mode == "no_printer" else with_printer()
    if status == 77:
        sys.exit(77)
    sys.exit(summary(f"e2e print ({mode})") or status)
