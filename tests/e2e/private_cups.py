# SPDX-License-Identifier: GPL-3.0-or-later
"""A CUPS server of a test's own, with everything it writes inside one temporary folder.

The server listens on a socket in that folder only (no network port, no sharing, no browsing),
keeps its configuration, spool, state and logs there, and its queues print through the generic
PDF printer driver of cups-filters to a file: device in that folder. Nothing goes under /etc/cups
or anywhere else. The scheduler starts as root (it runs the print filters as the user lp), so
the tests that use it need root.

    with PrivateCups() as cups:
        queue_pdf = cups.add_queue("tape")
        env = dict(os.environ, CUPS_SERVER=cups.socket)
        ... print on "tape" ...
        pdf = cups.wait_for_output("tape")
"""

import glob
import os
import shutil
import signal
import subprocess
import tempfile
import time

PDF_PRINTER_PPD = "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"
TOOLS = ("cupsd", "lpadmin", "lpstat", "cupsreject", "pdfinfo", "pdftotext")
SERVER_START_SECONDS = 30


class CupsFailure(Exception):
    pass


def missing():
    """What is not installed, as a message naming the packages; empty when all is there."""
    absent = [t for t in TOOLS if shutil.which(t) is None]
    if not os.path.exists(PDF_PRINTER_PPD):
        absent.append(PDF_PRINTER_PPD)
    if not absent:
        return ""
    return (f"missing {', '.join(absent)}: scripts/setup.sh installs cups, cups-filters and "
            "poppler-utils")


def run(command, env=None, timeout=60):
    result = subprocess.run(command, env=env, timeout=timeout, capture_output=True, text=True)
    if result.returncode != 0:
        raise CupsFailure(f"{' '.join(command)} failed ({result.returncode}):\n"
                          f"{result.stdout}{result.stderr}")
    return result.stdout


def _write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


class PrivateCups:
    def __init__(self):
        # Under /tmp: the server's socket path must stay short.
        self.work = tempfile.mkdtemp(prefix="dravello-cups.", dir="/tmp")
        os.chmod(self.work, 0o755)  # the filters run as lp and must reach the spool
        self.socket = os.path.join(self.work, "cups.sock")
        self.output = os.path.join(self.work, "printed")
        self.server = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        work = self.work
        for sub in ("etc", "spool", "spool/tmp", "cache", "state", "log", "printed"):
            os.makedirs(os.path.join(work, sub), exist_ok=True)
        shutil.chown(self.output, user="lp")  # the last filter writes the file as lp
        _write(os.path.join(work, "etc", "cups-files.conf"), f"""\
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
FileDevice Yes
""")
        _write(os.path.join(work, "etc", "cupsd.conf"), f"""\
LogLevel debug
Listen {self.socket}
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType None
PreserveJobHistory Yes
DirtyCleanInterval 0
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
        log = open(os.path.join(work, "log", "cupsd.out"), "w")
        self.server = subprocess.Popen(
            ["cupsd", "-f", "-c", os.path.join(work, "etc", "cupsd.conf"),
             "-s", os.path.join(work, "etc", "cups-files.conf")],
            stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + SERVER_START_SECONDS
        while time.monotonic() < deadline:
            if self.server.poll() is not None:
                raise CupsFailure(f"cupsd stopped at once with status {self.server.returncode}")
            if os.path.exists(self.socket):
                result = subprocess.run(["lpstat", "-h", self.socket, "-r"],
                                        capture_output=True, text=True, timeout=10)
                if "is running" in result.stdout:
                    return self
            time.sleep(0.2)
        raise CupsFailure(f"cupsd did not answer within {SERVER_START_SECONDS} s")

    def add_queue(self, queue):
        """A PDF printer named `queue`; each job replaces its file (see output_of)."""
        run(["lpadmin", "-h", self.socket, "-p", queue, "-E", "-v",
             f"file://{self.output_of(queue)}", "-P", PDF_PRINTER_PPD])

    def output_of(self, queue):
        return os.path.join(self.output, f"{queue}.pdf")

    def jobs(self, which="completed"):
        """(job id, title) of the server's jobs ("completed" or "not-completed"), oldest
        first, read from the server's own job files."""
        found = []
        for control in sorted(glob.glob(os.path.join(self.work, "spool", "c*"))):
            with open(control, "rb") as f:
                data = f.read()
            # IPP attributes: value tag, name length, name, value length, value.
            key = b"\x00\x08job-name"
            at = data.find(key)
            if at < 0:
                continue
            length = int.from_bytes(data[at + len(key):at + len(key) + 2], "big")
            title = data[at + len(key) + 2:at + len(key) + 2 + length].decode(
                "utf-8", errors="replace")
            found.append((int(os.path.basename(control)[1:]), title))
        pending = run(["lpstat", "-h", self.socket, "-W", which, "-o"]).split()
        ids = {int(word.rsplit("-", 1)[1]) for word in pending if "-" in word and
               word.rsplit("-", 1)[1].isdigit()}
        return [job for job in found if job[0] in ids]

    def wait_for_output(self, queue, seconds=90):
        """The PDF of `queue` once no job of it is pending."""
        deadline = time.monotonic() + seconds
        pdf = self.output_of(queue)
        while time.monotonic() < deadline:
            pending = run(["lpstat", "-h", self.socket, "-o", queue], timeout=10).strip()
            if not pending and os.path.exists(pdf) and os.path.getsize(pdf) > 0:
                return pdf
            time.sleep(0.3)
        raise CupsFailure(f"no finished PDF from {queue} within {seconds} s")

    def logs(self):
        text = ""
        for name in ("cupsd.out", "error_log"):
            path = os.path.join(self.work, "log", name)
            if os.path.exists(path):
                with open(path, encoding="utf-8", errors="replace") as f:
                    text += f"--- {name} (last lines) ---\n{''.join(f.readlines()[-60:])}"
        return text

    def stop(self):
        if self.server is not None and self.server.poll() is None:
            self.server.send_signal(signal.SIGTERM)
            try:
                self.server.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait(timeout=15)
        shutil.rmtree(self.work, ignore_errors=True)
