#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page renders without a single warning, as groff and man (which lintian runs) see it,
# has the sections a user looks for, and names every option that --help names.
#   check-manpage.sh MANPAGE PROGRAM
page=$1
program=$2
fail=0

warnings=$(groff -ww -z -K utf8 -man "$page" 2>&1)
[ -z "$warnings" ] || { echo "groff -ww: $warnings"; fail=1; }
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
  man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "man --warnings: $warnings"; fail=1; }

text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)
for section in NOMBRE SINOPSIS DESCRIPCIÓN OPCIONES TECLADO "ARCHIVO DE CONFIGURACIÓN" ENTORNO \
    ARCHIVOS "ESTADO DE SALIDA" "ENGLISH SUMMARY"; do
  grep -q "^$section\$" <<<"$text" || { echo "no section $section"; fail=1; }
done
for option in $(env -u DISPLAY "$program" --help | grep -oE '(^|[ ,])--?[a-z]+' | tr -d ' ,'); do
  grep -qe "$option" <<<"$text" || { echo "--help names $option, the manual page does not"; fail=1; }
done
for variable in XDG_CONFIG_HOME HOME LANG; do
  grep -q "$variable" <<<"$text" || { echo "the environment variable $variable is missing"; fail=1; }
done

if [ "$fail" -ne 0 ]; then echo "manual page check failed"; exit 1; fi
echo "manual page check passed"
