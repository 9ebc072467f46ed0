# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints a tape of three pages' worth of lines for real, and reads the printout back.

Starts a CUPS server of its own (tests/e2e/private_cups.py: configuration, spool, logs and the
printed file all inside one temporary folder, a private socket only) with a PDF printer, runs
print_tape_job (TapePrinter through Qt's print support to that queue, without the dialog),
waits for the PDF and checks it with pdfinfo and pdftotext: three pages, every line there, in
order, each page holding the lines it should, and the job titled "Operaciones Realizadas". Then
makes the queue refuse jobs and checks that printing reports it. Stops the server and removes
everything at the end, also when a check fails.

    print_through_cups.py PRINT_TAPE_JOB

Exit status 0 when the printout is right, 1 when it is not (with the reason and the server's
logs), 77 when not run as root: the scheduler runs its filters as the user lp.
"""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from private_cups import CupsFailure as Failure, PrivateCups, missing, run  # noqa: E402

PAGES = 3
JOB_SECONDS = 90
JOB_TITLE = "Operaciones Realizadas"


def expected_line(n):
    """Line n of print_tape_job's tape, as pdftotext gives it back."""
    return f"L\u00ednea {n:04d}: 1.234,50 \u00b1 2% = 1.259,19 x\u00b2 operaci\u00f3n"


def check_printout(pdf, lines, per_page):
    info = run(["pdfinfo", pdf])
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.MULTILINE).group(1))
    if pages != PAGES:
        raise Failure(f"{pages} pages printed, {PAGES} expected")
    size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+)", info, re.MULTILINE)
    if float(size.group(1)) >= float(size.group(2)):
        raise Failure(f"the page is not portrait: {size.group(0)}")
    n = 1
    for page in range(1, pages + 1):
        text = run(["pdftotext", "-f", str(page), "-l", str(page), pdf, "-"])
        found = [line.strip() for line in text.replace("\f", "\n").splitlines() if line.strip()]
        expected = [expected_line(k) for k in range(n, min(n + per_page, lines + 1))]
        if found != expected:
            wrong = next((i for i, (a, b) in enumerate(zip(found, expected)) if a != b),
                         min(len(found), len(expected)))
            raise Failure(f"page {page}: {len(found)} lines, {len(expected)} expected; first "
                          f"difference at line {wrong + 1}:\n  found    "
                          f"{found[wrong] if wrong < len(found) else '(nothing)'}\n  expected "
                          f"{expected[wrong] if wrong < len(expected) else '(nothing)'}")
        n += len(expected)
    if n != lines + 1:
        raise Failure(f"{n - 1} lines printed, {lines} expected")


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    job_program = sys.argv[1]
    if os.geteuid() != 0:
        print("skipped: the print server runs its filters as the user lp, so it must start as "
              "root")
        return 77
    if missing():
        print(missing())
        return 1

    queue = f"dravello-tape-{os.getpid()}"
    cups = PrivateCups()
    try:
        cups.start()
        cups.add_queue(queue)
        # CUPS's messages in English, whatever the machine's language.
        env = dict(os.environ, CUPS_SERVER=cups.socket, QT_QPA_PLATFORM="offscreen",
                   LC_ALL="C.UTF-8")
        out = run([job_program, queue, str(PAGES)], env=env, timeout=JOB_SECONDS)
        m = re.search(r"lines=(\d+) lines_per_page=(\d+)", out)
        if not m:
            raise Failure(f"print_tape_job said: {out!r}")
        lines, per_page = int(m.group(1)), int(m.group(2))
        pdf = cups.wait_for_output(queue, JOB_SECONDS)
        check_printout(pdf, lines, per_page)
        print(f"printed {lines} lines, {per_page} a page, on {PAGES} pages: all there, in order")
        titles = [title for _, title in cups.jobs()]
        if titles != [JOB_TITLE]:
            raise Failure(f"the print server's jobs are titled {titles}, not [{JOB_TITLE!r}]")
        print(f"the job is titled {titles[0]!r}")

        # A queue that refuses jobs: the failure must reach the caller, not vanish.
        run(["cupsreject", "-h", cups.socket, queue])
        refused = subprocess.run([job_program, queue, "1"], env=env, timeout=JOB_SECONDS,
                                 capture_output=True, text=True)
        if (refused.returncode != 1 or queue not in refused.stderr
                or "not accepting jobs" not in refused.stderr):
            raise Failure(f"a refused job was not reported: status {refused.returncode}, "
                          f"said {refused.stdout!r} {refused.stderr!r}")
        print(f"a refused job is reported: {refused.stderr.strip().splitlines()[-1]}")
        return 0
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"FAILED: {failure}")
        print(cups.logs())
        return 1
    finally:
        cups.stop()


if __name__ == "__main__":
    sys.exit(main())
