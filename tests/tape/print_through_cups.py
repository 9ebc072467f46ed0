#!/usr/bin/env python3
"""Prints a tape of three pages' worth of lines for real, and reads the printout back.

Starts a CUPS server of its own (private configuration, spool and logs in a temporary folder,
listening on a private socket only), adds a CUPS-PDF queue that writes into that folder, runs
print_tape_job (TapePrinter through Qt's print support to that queue, without the dialog),
waits for the PDF and checks it with pdfinfo and pdftotext: three pages, every line there, in
order, each page holding the lines it should. Then makes the queue refuse jobs and checks that
printing reports it. Stops the server and removes everything at the end, also when a check
fails.

    print_through_cups.py PRINT_TAPE_JOB

Exit status 0 when the printout is right, 1 when it is not (with the reason and the server's
logs), 77 when not run as root: the CUPS-PDF backend must run as root.
"""

import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PAGES = 3
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
CUPS_PDF_CONFIG_DIR = "/etc/cups"  # where the backend looks for a queue's own settings
# Every wait is bounded; together they stay well inside the test's time limit in CTest.
SERVER_START_SECONDS = 30
JOB_SECONDS = 90


class Failure(Exception):
    pass


def expected_line(n):
    """Line n of print_tape_job's tape, as pdftotext gives it back."""
    return f"L\u00ednea {n:04d}: 1.234,50 \u00b1 2% = 1.259,19 x\u00b2 operaci\u00f3n"


def run(command, env=None, timeout=60):
    result = subprocess.run(command, env=env, timeout=timeout, capture_output=True, text=True)
    if result.returncode != 0:
        raise Failure(f"{' '.join(command)} failed ({result.returncode}):\n"
                      f"{result.stdout}{result.stderr}")
    return result.stdout


def write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def configure_server(work):
    for sub in ("etc", "spool", "spool/tmp", "cache", "state", "log", "pdf", "cups-pdf-spool"):
        os.makedirs(os.path.join(work, sub), exist_ok=True)
    socket = os.path.join(work, "cups.sock")
    write(os.path.join(work, "etc", "cups-files.conf"), f"""\
ServerRoot {work}/etc
RequestRoot {work}/spool
TempDir {work}/spool/tmp
CacheDir {work}/cache
StateDir {work}/state
ErrorLog {work}/log/error_log
AccessLog {work}/log/access_log
PageLog {work}/log/page_log
User lp
Group lp
SystemGroup root
FileDevice No
""")
    # Only the private socket: no network port, no sharing, no browsing, no web interface.
    write(os.path.join(work, "etc", "cupsd.conf"), f"""\
LogLevel debug
Listen {socket}
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
""")
    return socket


def start_server(work, socket):
    log = open(os.path.join(work, "log", "cupsd.out"), "w")
    server = subprocess.Popen(
        ["cupsd", "-f", "-c", os.path.join(work, "etc", "cupsd.conf"),
         "-s", os.path.join(work, "etc", "cups-files.conf")],
        stdout=log, stderr=subprocess.STDOUT)
    deadline = time.monotonic() + SERVER_START_SECONDS
    while time.monotonic() < deadline:
        if server.poll() is not None:
            raise Failure(f"cupsd stopped at once with status {server.returncode}")
        if os.path.exists(socket):
            result = subprocess.run(["lpstat", "-h", socket, "-r"], capture_output=True,
                                    text=True, timeout=10)
            if "is running" in result.stdout:
                return server
        time.sleep(0.2)
    raise Failure(f"cupsd did not answer within {SERVER_START_SECONDS} s")


def stop_server(server):
    if server is None or server.poll() is not None:
        return
    server.send_signal(signal.SIGTERM)
    try:
        server.wait(timeout=15)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait(timeout=15)


def add_queue(work, socket, queue):
    # The CUPS-PDF backend reads the settings of a queue whose device is cups-pdf:/NAME from
    # cups-pdf-NAME.conf in its configuration folder; these send the PDF into our folder.
    write(os.path.join(CUPS_PDF_CONFIG_DIR, f"cups-pdf-{queue}.conf"), f"""\
Out {work}/pdf
AnonDirName {work}/pdf
Spool {work}/cups-pdf-spool
Log {work}/log
LogType 7
Grp root
UserUMask 0022
AnonUMask 0022
""")
    # The PDF printer takes PostScript. Ghostscript's PostScript turns the text into glyphs that
    # pdftotext cannot read back; the pdftocairo renderer keeps it readable.
    run(["lpadmin", "-h", socket, "-p", queue, "-E", "-v", f"cups-pdf:/{queue}", "-P", PPD,
         "-o", "pdftops-renderer-default=pdftocairo"])


def wait_for_pdf(work, socket, queue):
    deadline = time.monotonic() + JOB_SECONDS
    while time.monotonic() < deadline:
        pending = run(["lpstat", "-h", socket, "-o", queue], timeout=10).strip()
        pdfs = glob.glob(os.path.join(work, "pdf", "**", "*.pdf"), recursive=True)
        if not pending and pdfs:
            if len(pdfs) != 1:
                raise Failure(f"one job gave {len(pdfs)} files: {pdfs}")
            return pdfs[0]
        time.sleep(0.5)
    raise Failure(f"no finished PDF within {JOB_SECONDS} s")


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


def show_logs(work):
    for name in ("cupsd.out", "error_log"):
        path = os.path.join(work, "log", name)
        if os.path.exists(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                tail = f.readlines()[-60:]
            print(f"--- {name} (last lines) ---\n{''.join(tail)}")
    for path in glob.glob(os.path.join(work, "log", "cups-pdf*")):
        with open(path, encoding="utf-8", errors="replace") as f:
            print(f"--- {os.path.basename(path)} ---\n{f.read()[-4000:]}")


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    job_program = sys.argv[1]
    if os.geteuid() != 0:
        print("skipped: the CUPS-PDF backend runs only under a CUPS server started as root")
        return 77
    missing = [p for p in ("cupsd", "lpadmin", "lpstat", "cupsreject", "pdfinfo", "pdftotext",
                           "pdftocairo")
               if shutil.which(p) is None]
    missing += [p for p in (PPD, "/usr/lib/cups/backend/cups-pdf") if not os.path.exists(p)]
    if missing:
        print(f"missing {', '.join(missing)}: scripts/setup.sh installs cups, "
              "printer-driver-cups-pdf and poppler-utils")
        return 1

    # Under /tmp: the server's socket path must stay short.
    work = tempfile.mkdtemp(prefix="dravello-cups.", dir="/tmp")
    os.chmod(work, 0o755)  # the filters run as lp and must reach the spool
    queue = f"dravello-tape-{os.getpid()}"
    server = None
    try:
        socket = configure_server(work)
        server = start_server(work, socket)
        add_queue(work, socket, queue)
        # CUPS's messages in English, whatever the machine's language.
        env = dict(os.environ, CUPS_SERVER=socket, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
        out = run([job_program, queue, str(PAGES)], env=env, timeout=JOB_SECONDS)
        m = re.search(r"lines=(\d+) lines_per_page=(\d+)", out)
        if not m:
            raise Failure(f"print_tape_job said: {out!r}")
        lines, per_page = int(m.group(1)), int(m.group(2))
        pdf = wait_for_pdf(work, socket, queue)
        check_printout(pdf, lines, per_page)
        print(f"printed {lines} lines, {per_page} a page, on {PAGES} pages: all there, in order")

        # A queue that refuses jobs: the failure must reach the caller, not vanish.
        run(["cupsreject", "-h", socket, queue])
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
        show_logs(work)
        return 1
    finally:
        stop_server(server)
        try:
            os.remove(os.path.join(CUPS_PDF_CONFIG_DIR, f"cups-pdf-{queue}.conf"))
        except FileNotFoundError:
            pass
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
