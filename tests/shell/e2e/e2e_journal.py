#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Nothing lost at a crash: the real program, under Spanish regional settings, types a session
(a sum, a memory, a currency switch, a product), is killed with SIGKILL a moment later, and is
started again; its question is answered "Sí" and the list, the memory, the display and the
currency are back as they were.

    e2e_journal.py DRIVER_DIR PROGRAM OUT_DIR

Each start runs in a process of its own (the driver binds to one accessibility bus per
process): the script runs itself with "--start" for each.
"""

import json
import os
import signal
import stat
import subprocess
import sys
import time

driver_dir = sys.argv[1]
sys.path.insert(0, driver_dir)
from dravello_driver import Session  # noqa: E402
from e2e_support import PTS_EUR, check, program_copy, summary, until, window_count  # noqa: E402


def shown(s):
    return {"list": s.list_items("Operaciones Realizadas"), "display": s.read("#Panel1"),
            "memory": s.read("#PanelMemA"), "currency": s.read("#PanelMoneda")}


def start(copy, home, which):
    """One start of the program; prints what it showed as the last line."""
    env = {"LANG": "es_ES.UTF-8", "HOME": home, "DRAVELLO_ACCESSIBLE_IDS": "1"}
    with Session([copy], wait_name="Display", env=env) as s:
        if which == "type":
            s.type("1000+234=A{ctrl+1}5*3=")
            until(lambda: len(s.list_items("Operaciones Realizadas")), 6)
            time.sleep(1.5)  # the journal is on disk within a second
            state = shown(s)
            os.kill(s.program.pid, signal.SIGKILL)
            s.program.wait()
        else:
            window_count(s, 2)
            state = {"question": [text for _, _, text in s.texts()
                                  if text and "terminó sin cerrarse" in text]}
            s.click({"name": "Sí", "role": "push button"})
            until(lambda: len(s.list_items("Operaciones Realizadas")), 6)
            state.update(shown(s))
    print(json.dumps(state, ensure_ascii=False), flush=True)


def run(copy, home, which):
    done = subprocess.run([sys.executable, __file__, driver_dir, copy, home, "--start", which],
                          capture_output=True, text=True, timeout=240)
    print(done.stdout, done.stderr, flush=True)
    return json.loads(done.stdout.strip().splitlines()[-1])


def main():
    if "--start" in sys.argv:
        start(sys.argv[2], sys.argv[3], sys.argv[5])
        return 0
    with program_copy(sys.argv[2], settings=PTS_EUR, prefix="dravello-e2e-journal-") as (
            folder, copy):
        home = os.path.join(folder, "home")
        os.makedirs(home)
        before = run(copy, home, "type")
        check("the session typed", before["list"],
              ["1.000 + 234 = 1.234", "1.234 --> M(a)", "(1.234 Pts)",
               "---> Cambio a Moneda (Eur)", "(7,42 Eur)", "5,00 * 3,00 = 15,00"])
        journals = os.path.join(home, ".local/state/CalculadoraDravello")
        check("the journal folder is the user's alone",
              stat.S_IMODE(os.stat(journals).st_mode), 0o700)
        files = os.listdir(journals)
        check("one journal, the user's alone",
              [stat.S_IMODE(os.stat(os.path.join(journals, f)).st_mode) for f in files], [0o600])

        after = run(copy, home, "recover")
        check("the question names the operations and the lines",
              ["6 líneas" in t for t in after["question"]], [True])
        for what in ("list", "display", "memory", "currency"):
            check(f"recovered {what}", after[what], before[what])
    return summary("e2e.journal")


if __name__ == "__main__":
    sys.exit(main())
