#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The saved CSV as a spreadsheet reads it under Spanish regional settings.

    csv_in_calc.py TAPE.csv TAPE.txt

TAPE.csv and TAPE.txt are the same tape saved as CSV and as text (the golden session). Checks:

1. With Python's csv module (RFC 4180): UTF-8's byte-order mark first, CRLF after every
   record, a header and eight fields a record, the seventh the tape's line as the text file has
   it (less the rates it adds and the mark of a corrected line) and the eighth empty or "Sí"
   (corrected), the first six empty for lines that are no operation, and for operations numbers
   in Spanish notation without grouping that are the line's own numbers.
2. With LibreOffice Calc, when it is installed: the file converted by `soffice --headless
   --convert-to fods` under LANG=es_ES.UTF-8, with the import settings that Calc first offers
   (comma, double quotes, UTF-8, no detection of special numbers): every operand and result a
   number of that value (and the rate), every other field the same text (the mark read as no
   text).
"""

import codecs
import csv
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from decimal import Decimal

NS = {
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
}
HEADER = ["Operando 1", "Operador", "Operando 2", "Resultado", "Moneda", "Cambio", "Línea",
          "Corregida"]
NUMBER = re.compile(r"-?\d+(,\d+)?")
NUMBER_COLUMNS = (0, 2, 3)
RATE_COLUMN = 5
RATE_SUFFIX = re.compile(r"(.*)  \(1 \S+ = (\S+) \S+\)")

failures = []


def fail(what):
    print("FAILED: " + what, flush=True)
    failures.append(what)


def spanish(number):
    """A number in Spanish notation without grouping, as a Decimal."""
    return Decimal(number.replace(",", "."))


def line_numbers(line):
    """The numbers written in a tape line, grouping removed, in order."""
    return [spanish(m.group(0).replace(".", ""))
            for m in re.finditer(r"(?<!\w)-?\d{1,3}(\.\d{3})*(,\d+)?", line)]


def check_with_csv_module(raw, lines):
    if not raw.startswith(codecs.BOM_UTF8):
        fail("the file must start with UTF-8's byte-order mark")
    raw = raw.removeprefix(codecs.BOM_UTF8)
    if not raw.endswith(b"\r\n") or b"\n" in raw.replace(b"\r\n", b""):
        fail("every record must end with CRLF, and no bare line feed may appear")
    records = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline=""), strict=True))
    if records[0] != HEADER:
        fail(f"header {records[0]!r}")
    records = records[1:]
    if len(lines) == len(records) + 1 and lines[-1].startswith("Cambios"):
        lines = lines[:-1]  # where the rates came from, in the text only
    if len(records) != len(lines):
        fail(f"{len(records)} records for {len(lines)} lines")
    for n, (record, line) in enumerate(zip(records, lines), 1):
        if len(record) != 8:
            fail(f"record {n}: {len(record)} fields")
            continue
        if record[7] == "Sí":
            line = line.removesuffix(" †")
        rate = RATE_SUFFIX.fullmatch(line)
        if rate:
            line = rate.group(1)
            if rate.group(2) != record[RATE_COLUMN]:
                fail(f"record {n}: rate {record[RATE_COLUMN]!r}, the text's {rate.group(2)!r}")
        if record[6] != line:
            fail(f"record {n}: line {record[6]!r}, expected {line!r}")
        if record[7] not in ("", "Sí"):
            fail(f"record {n}: corrected {record[7]!r}")
        if not record[1]:
            if any(record[:6]):
                fail(f"record {n}: no operation, yet fields {record[:6]!r}")
            continue
        if record[RATE_COLUMN] and not NUMBER.fullmatch(record[RATE_COLUMN]):
            fail(f"record {n}: rate {record[RATE_COLUMN]!r} is not in Spanish notation")
        numbers = [record[i] for i in NUMBER_COLUMNS if record[i]]
        if not all(NUMBER.fullmatch(x) for x in numbers):
            fail(f"record {n}: numbers {numbers!r} are not in Spanish notation without grouping")
        elif [spanish(x) for x in numbers] != line_numbers(line):
            fail(f"record {n}: numbers {numbers!r} are not those of {line!r}")
    return records


def cells(row):
    out = []
    for cell in row.findall("table:table-cell", NS):
        repeat = min(int(cell.get(f"{{{NS['table']}}}number-columns-repeated", "1")), 8)
        kind = cell.get(f"{{{NS['office']}}}value-type")
        value = cell.get(f"{{{NS['office']}}}value")
        text = "".join(p.text or "" for p in cell.findall("text:p", NS))
        out += [(kind, value, text)] * repeat
    return (out + [(None, None, "")] * 8)[:8]


def check_with_calc(csv_path, records):
    soffice = shutil.which("soffice")
    if soffice is None:
        print("LibreOffice (soffice) is not installed: checked with Python's csv module only")
        return
    with tempfile.TemporaryDirectory(prefix="dravello-calc-") as work:
        env = dict(os.environ, LANG="es_ES.UTF-8", LANGUAGE="es_ES", HOME=work)
        env.pop("LC_ALL", None)
        source = os.path.join(work, "cinta.csv")
        shutil.copyfile(csv_path, source)
        command = [soffice, "--headless", "--norestore", "--nolockcheck",
                   f"-env:UserInstallation=file://{work}/profile",
                   "--infilter=CSV:44,34,76,1,,,false,false",
                   "--convert-to", "fods", "--outdir", work, source]
        done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=240)
        converted = os.path.join(work, "cinta.fods")
        if done.returncode != 0 or not os.path.exists(converted):
            fail(f"soffice could not convert the file: {done.stdout} {done.stderr}")
            return
        rows = [cells(r) for r in ET.parse(converted).iter(f"{{{NS['table']}}}table-row")]
    rows = [r for r in rows if any(kind for kind, _, _ in r)]
    if [text for _, _, text in rows[0]] != HEADER:
        fail(f"Calc header {rows[0]!r}")
    rows = rows[1:]
    if len(rows) != len(records):
        fail(f"Calc has {len(rows)} rows for {len(records)} records")
    for n, (row, record) in enumerate(zip(rows, records), 1):
        for column, (field, (kind, value, text)) in enumerate(zip(record, row)):
            if not field:
                if kind is not None:
                    fail(f"row {n} column {column + 1}: {text!r} where the field is empty")
            elif column in NUMBER_COLUMNS + (RATE_COLUMN,) and record[1]:
                if kind != "float" or Decimal(value) != spanish(field):
                    fail(f"row {n} column {column + 1}: {kind} {value!r} for the number {field!r}")
            elif kind != "string" or text != field:
                fail(f"row {n} column {column + 1}: {kind} {text!r} for the text {field!r}")
    print(f"LibreOffice Calc under es_ES read {len(rows)} rows as expected")


def main():
    csv_path, text_path = sys.argv[1:3]
    with open(csv_path, "rb") as f:
        raw = f.read()
    with open(text_path, encoding="utf-8", newline="") as f:
        text = f.read()
    if not text.endswith("\n"):
        fail("the text file must end with a line feed")
    lines = text[:-1].split("\n") if text else []
    records = check_with_csv_module(raw, lines)
    check_with_calc(csv_path, records)
    if failures:
        sys.exit(1)
    print("ok")


if __name__ == "__main__":
    main()
