#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the pictures of the program that the README, the AppStream metadata and the user's
manual show, from the real program under Xvfb (tests/e2e/driver) with Spanish regional
settings: a short sum in euros, a product in dollars and back to euros, with pesetas and
dollars in the equivalences.

    screenshot.py PROGRAM DOCS

writes, under the folder DOCS:
    ventana.png                          the window
    manual/imagenes/ventana-partes.png   the window with its parts named
    manual/imagenes/menu-lista.png       the operations list's menu
    manual/imagenes/dialogo-monedas.png  the currency dialog

scripts/screenshot.sh builds the program and writes them into docs/.
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

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

DIALOG = "Definición de Cambios y Monedas"
FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
INK = "#1f3f7a"

# The parts of the window that the manual names: the label, the side of the picture it stands
# on, the controls the part covers and where on them the label's line ends.
PARTS = [
    ("Memorias a, b y c", "left", ["PanelMemA", "PanelMemB", "PanelMemC"], "left"),
    ("Indicadores: M+, operación, tecla", "left", ["Panel5", "Panel6", "Panel7"], "top"),
    ("Teclado", "left", ["Panel2"], "left"),
    ("Abrir - Cerrar la lista", "left", ["GradBtn2"], "left"),
    ("Lista «Operaciones Realizadas»", "left", ["ListBox1"], "left"),
    ("Botones de las monedas", "left", [f"SpeedButton{n}" for n in range(7)], "left"),
    ("Abrir - Cerrar las equivalencias", "left", ["GradBtn1"], "left"),
    ("Equivalencias en otras monedas", "left", ["PanelCambios"], "bottom"),
    ("Display", "right", ["Panel1"], "right"),
    ("Decimales, cambio y moneda actual", "right", ["GradPan3"], "right"),
    ("Funciones y memorias", "right", ["Panel4"], "top"),
    ("Visible y Minimizar", "right", ["HighButtonVisi", "HighButton34"], "right"),
    ("Copiar, pegar, imprimir, cerrar", "right", ["Panel8"], "right"),
    ("Configurar las monedas", "right", ["SpeedButton9"], "right"),
]
MARGIN = 250  # beside the window, for the labels
TOP = 24  # above and below it
SPACING = 26  # between two labels on one side


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def union(boxes):
    """The box (x, y, width, height) that holds the boxes {x, y, width, height}."""
    left = min(b["x"] for b in boxes)
    top = min(b["y"] for b in boxes)
    right = max(b["x"] + b["width"] for b in boxes)
    bottom = max(b["y"] + b["height"] for b in boxes)
    return left, top, right - left, bottom - top


def box_of(s, names):
    """The box that holds the controls `names`, in window pixels."""
    window = s.geometry()
    x, y, w, h = union([s.describe("#" + name)["extents"] for name in names])
    return x - window["x"], y - window["y"], w, h


def anchor(box, where):
    x, y, w, h = box
    return {"left": (x + 4, y + h // 2), "right": (x + w - 4, y + h // 2),
            "top": (x + w // 2, y + 4), "bottom": (x + w // 2, y + h - 4)}[where]


def name_parts(s, window_png, out):
    """The window's picture on a wider canvas, each part named beside it with a line to it."""
    width, height = s.geometry()["width"], s.geometry()["height"]
    labels, lines = [], []
    for side in ("left", "right"):
        parts = sorted(((anchor(box_of(s, names), where), label)
                        for label, on, names, where in PARTS if on == side),
                       key=lambda part: part[0][1])
        last = -SPACING
        for (x, y), label in parts:
            # In the order of the parts from top to bottom, at their height where there is room.
            text_y = max(last + SPACING, y + TOP)
            last = text_y
            if side == "left":
                labels += ["-gravity", "NorthEast", "-annotate",
                           f"+{width + MARGIN + 14}+{text_y - 8}", label]
                end = MARGIN - 8
            else:
                labels += ["-gravity", "NorthWest", "-annotate",
                           f"+{width + MARGIN + 14}+{text_y - 8}", label]
                end = width + MARGIN + 8
            x, y = x + MARGIN, y + TOP
            lines += ["-draw", f"line {end},{text_y} {x},{y}",
                      "-draw", f"circle {x},{y} {x + 3},{y}"]
    convert("-size", f"{width + 2 * MARGIN}x{height + 2 * TOP}", "xc:white", window_png,
            "-geometry", f"+{MARGIN}+{TOP}", "-composite", "-font", FONT, "-pointsize", "13",
            "-fill", INK, "-stroke", "none", *labels, "-gravity", "NorthWest",
            "-stroke", INK, "-strokewidth", "1.5", *lines, out)


def crop(screen_png, box, out, pad=12):
    """The part `box` (x, y, width, height in screen pixels) of a picture of the screen."""
    x, y, w, h = box
    convert(screen_png, "-crop", f"{w + 2 * pad}x{h + 2 * pad}+{x - pad}+{y - pad}", "+repage", out)


def windows(s, count):
    """The program's windows once there are `count` of them."""
    for _ in range(100):
        found = s.windows()
        if len(found) == count:
            return found
        time.sleep(0.05)
    raise RuntimeError(f"{count} windows expected, {len(s.windows())} shown")


def main(program, docs):
    pictures = os.path.join(docs, "manual", "imagenes")
    os.makedirs(pictures, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="dravello-screenshot.")
    try:
        # A copy, with its modules, beside its own settings file, whatever the build folder holds.
        copy = os.path.join(folder, "CalculadoraDravello")
        shutil.copy2(program, copy)
        for module in glob.glob(os.path.join(os.path.dirname(program), "libdravello-*.so")):
            shutil.copy2(module, folder)
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
            window_png = os.path.abspath(os.path.join(docs, "ventana.png"))
            s.screenshot(window_png)
            name_parts(s, window_png, os.path.join(pictures, "ventana-partes.png"))

            screen = os.path.join(folder, "screen.png")
            s.click({"role": "list item", "index": 3})
            s.key("Menu")
            s.screenshot(screen, window=False)
            crop(screen, union(windows(s, 2)), os.path.join(pictures, "menu-lista.png"))
            s.key("Escape")
            windows(s, 1)

            s.click("#SpeedButton9")
            s.wait_for({"role": "dialog", "name": DIALOG}, DIALOG)
            dialog = [w for w in windows(s, 2) if w["name"] == DIALOG]
            s.screenshot(screen, window=False)
            crop(screen, union(dialog), os.path.join(pictures, "dialogo-monedas.png"), pad=0)
            s.key("Escape")
            windows(s, 1)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"wrote the pictures under {docs}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
