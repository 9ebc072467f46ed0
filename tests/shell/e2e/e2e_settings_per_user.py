#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An installed copy keeps each user's settings in that user's own folder, root included.

    e2e_settings_per_user.py DRIVER_DIR BUILD_DIR

Installs the build into a temporary prefix, then runs the installed program, first as root and
then as another user (the uid of "nobody", through setpriv: D-Bus wants a user that the
password database knows), each with its own XDG_CONFIG_HOME, and saves a
currency through the currency dialog, as a user would. Each user's settings file must hold that
user's currency, owned by that user, and nothing under the prefix may have changed. Run by
someone else than root, only that user's own run is made.

    e2e_settings_per_user.py --as-user DRIVER_DIR PROGRAM HOME CONFIG ABBREVIATION

is one user's run: the program started with that HOME and XDG_CONFIG_HOME, the abbreviation
saved as currency 1 with a rate of 2,5.
"""

import os
import pwd
import shutil
import subprocess
import sys
import tempfile

OTHER_USER = "nobody"
DIALOG = "Definición de Cambios y Monedas"


def one_user(driver_dir, program, home, config, abbreviation):
    sys.path.insert(0, driver_dir)
    from dravello_driver import Session

    env = {"HOME": home, "XDG_CONFIG_HOME": config, "LANG": "es_ES.UTF-8"}
    with Session([program], wait_name="Display", env=env) as s:
        s.click("#SpeedButton9")
        s.wait_for({"role": "dialog", "name": DIALOG}, DIALOG, timeout=5)
        s.click({"description": "EditMoneda1", "within": DIALOG})
        s.type(abbreviation)
        s.click({"description": "EditCambio1", "within": DIALOG})
        s.type("{ctrl+a}2,5\n")  # Return accepts the dialog
        s.wait_for("#SpeedButton1", f"{abbreviation} (moneda 1)", timeout=5)
        s.click("Cerrar")
        report = s.teardown()
    if report["exit_codes"].get("program") != 0:
        print(f"the program ended with {report['exit_codes'].get('program')}")
        return 1
    return 0


def snapshot(folder):
    """Every path under `folder` with what a write would change."""
    seen = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            st = os.lstat(path)
            seen[os.path.relpath(path, folder)] = (st.st_mode, st.st_size, st.st_mtime_ns)
    return seen


def main(driver_dir, build_dir):
    failures = []

    def check(what, ok, detail=""):
        print(f"{'ok' if ok else 'FAILED'}: {what}" + (f" ({detail})" if detail and not ok else ""),
              flush=True)
        if not ok:
            failures.append(what)

    work = tempfile.mkdtemp(prefix="dravello-users.")
    try:
        os.chmod(work, 0o755)
        prefix = os.path.join(work, "prefix")
        # By component, so that the user's build/install_manifest.txt stays as it was.
        subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix, "--component",
                        "Unspecified"], check=True, stdout=subprocess.DEVNULL)
        program = os.path.join(prefix, "bin", "CalculadoraDravello")
        before = snapshot(prefix)
        # The other user may not reach the checkout (a clone in a private temporary folder):
        # this script and the driver run from copies in the shared work folder.
        scripts = os.path.join(work, "scripts")
        shutil.copytree(driver_dir, os.path.join(scripts, "driver"),
                        ignore=shutil.ignore_patterns("__pycache__"))
        script = shutil.copy(os.path.abspath(__file__), scripts)
        driver_copy = os.path.join(scripts, "driver")

        users = [(os.getuid(), "Usr")]
        if os.getuid() == 0:
            users.append((pwd.getpwnam(OTHER_USER).pw_uid, "Otr"))
        else:
            print("not root: only this user's own run")
        for uid, abbreviation in users:
            home = os.path.join(work, f"home-{uid}")
            config = os.path.join(home, "config-of-this-test")
            os.mkdir(home, 0o700)
            if os.getuid() == 0:
                os.chown(home, uid, uid)
            command = [sys.executable, script, "--as-user", driver_copy, program, home, config,
                       abbreviation]
            if uid != os.getuid():
                command = ["setpriv", f"--reuid={uid}", f"--regid={uid}", "--clear-groups",
                           "--"] + command
            env = dict(os.environ, HOME=home, TMPDIR=home)
            result = subprocess.run(command, env=env, capture_output=True, text=True,
                                    timeout=120)
            check(f"uid {uid}: saved through the dialog", result.returncode == 0,
                  result.stdout + result.stderr)

            settings = os.path.join(config, "CalculadoraDravello", "CalculadoraDravello.INI")
            if not os.path.exists(settings):
                check(f"uid {uid}: settings file {settings}", False, "missing")
                continue
            with open(settings, "rb") as f:
                text = f.read().decode("cp1252")
            check(f"uid {uid}: its own currency in its own file",
                  f"Moneda1={abbreviation}" in text and "Cambio1=2,5" in text, text)
            owner = os.stat(settings).st_uid
            check(f"uid {uid}: the file is the user's", owner == uid, f"owned by {owner}")
            check(f"uid {uid}: ~/.config not used (XDG_CONFIG_HOME is set)",
                  not os.path.exists(os.path.join(home, ".config", "CalculadoraDravello")))

        after = snapshot(prefix)
        changed = sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))
        check("nothing written under the prefix", not changed, ", ".join(changed))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"settings per user: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) == 7 and sys.argv[1] == "--as-user":
        sys.exit(one_user(*sys.argv[2:]))
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
