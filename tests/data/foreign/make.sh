#!/bin/sh
# Makes the workbooks other spreadsheet programs saved, which the reader's tests open, from the
# sources beside this script: LibreOffice (Debian libreoffice-calc-nogui) saves the roster,
# Gnumeric's ssconvert (Debian gnumeric) saves the rota. The .xls files are kept with the sources,
# so the tests need neither program; run this again after changing a source.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT

soffice "-env:UserInstallation=file://$profile" --headless --norestore \
    --convert-to 'xls:MS Excel 97' --outdir "$here" "$here/libreoffice-roster.fods"
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$here/gnumeric-rota.gnumeric" "$here/gnumeric-rota.xls"
