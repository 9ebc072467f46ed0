# SPDX-License-Identifier: GPL-3.0-or-later
"""What the end-to-end scripts share: checks that are counted, waits that give back what they
saw, and a copy of the program in a fresh folder."""

import contextlib
import glob
import os
import shutil
import tempfile
import time

failures = []

# A settings file of pesetas (no decimals) as the base and euros at 166,386.
PTS_EUR = """[MONEDAS]
Moneda0=Pts
Decimales0=0
Moneda1=Eur
Decimales1=2
Cambio1=166,386
"""


def check(what, got, expected):
    """Prints the check as ok or FAILED, counting the failures."""
    ok = got == expected
    print(f"{'ok' if ok else 'FAILED'}: {what}: {got!r}" + ("" if ok else f" (expected {expected!r})"),
          flush=True)
    if not ok:
        failures.append(what)


def until(get, expected, seconds=3.0):
    """get() once it returns `expected` (or what it returns after `seconds`)."""
    deadline = time.monotonic() + seconds
    while True:
        got = get()
        if got == expected or time.monotonic() > deadline:
            return got
        time.sleep(0.05)


def wait(s, sel, text, seconds=3.0):
    """The text of `sel` once it reads `text` (or what it reads after `seconds`; None when it
    cannot be read)."""
    try:
        return s.wait_for(sel, text, timeout=seconds)
    except Exception:  # noqa: BLE001
        try:
            return s.read(sel)
        except Exception:  # noqa: BLE001
            return None


def window_count(s, count, seconds=5.0):
    """The number of the program's mapped windows once it is `count` (or what it is after
    `seconds`)."""
    return until(lambda: len(s.windows()), count, seconds)


@contextlib.contextmanager
def program_copy(program, settings=None, prefix="dravello-e2e-"):
    """A copy of `program` and its modules in a fresh folder, with a settings file holding
    `settings` beside it (none when None), so that a run depends on no settings file of the build.
    Yields the folder and the copy's path; the folder goes at the end."""
    folder = tempfile.mkdtemp(prefix=prefix)
    try:
        copy = os.path.join(folder, "CalculadoraDravello")
        shutil.copy2(program, copy)
        for module in glob.glob(os.path.join(os.path.dirname(program), "libdravello-*.so")):
            shutil.copy2(module, folder)
        if settings is not None:
            with open(os.path.join(folder, "CalculadoraDravello.INI"), "w") as f:
                f.write(settings)
        yield folder, copy
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def summary(label):
    """Prints how many checks failed; the exit status."""
    print(f"{label}: {len(failures)} failed", flush=True)
    return 1 if failures else 0
