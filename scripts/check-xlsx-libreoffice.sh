#!/usr/bin/env bash
# Checks the workbooks we write with an independent reader: writes the sample
# list, summary protocol and equipment protocol from the installed templates,
# lets LibreOffice Calc convert them to CSV (values must be in their cells,
# leading zeros kept) and to PDF, and renders the PDF pages to PNG for a look.
# Installs libreoffice-calc and poppler-utils when they are missing.
# Usage: scripts/check-xlsx-libreoffice.sh [output folder]   (default /tmp/tavozz-xlsx-check)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-/tmp/tavozz-xlsx-check}"
bdir="${BUILD_DIR:-$here/build}"

need=()
command -v soffice >/dev/null 2>&1 || need+=(libreoffice-calc)
command -v pdftoppm >/dev/null 2>&1 || need+=(poppler-utils)
command -v python3 >/dev/null 2>&1 || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S "$here" -B "$bdir" >/dev/null
cmake --build "$bdir" --target tavozz-xlsxsamples -j"${JOBS:-2}" >/dev/null
samples="$(find "$bdir" -name tavozz-xlsxsamples -type f -perm -u+x | head -n1)"
rm -rf "$out"
mkdir -p "$out/csv" "$out/pdf" "$out/png"
QT_QPA_PLATFORM=offscreen "$samples" "$out"

profile="file://$out/profile"
for f in seznam souhprot protokol; do
  soffice -env:UserInstallation="$profile" --headless \
    --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true' \
    --outdir "$out/csv" "$out/$f.xlsx" >/dev/null 2>&1
  soffice -env:UserInstallation="$profile" --headless --convert-to pdf \
    --outdir "$out/pdf" "$out/$f.xlsx" >/dev/null 2>&1
  [ -s "$out/csv/$f.csv" ] || { echo "FAIL: LibreOffice did not read $f.xlsx"; exit 1; }
  [ -s "$out/pdf/$f.pdf" ] || { echo "FAIL: no PDF of $f.xlsx"; exit 1; }
  pdftoppm -r 60 -png "$out/pdf/$f.pdf" "$out/png/$f"
done

fail=0
# expect FILE ROW COLUMN TEXT: the cell as LibreOffice shows it.
expect() {
  local got
  got="$(python3 -c 'import csv,sys
rows=list(csv.reader(open(sys.argv[1],encoding="utf-8",newline="")))
r,c=int(sys.argv[2]),int(sys.argv[3])
print(rows[r-1][c-1] if r<=len(rows) and c<=len(rows[r-1]) else "")' "$out/csv/$1.csv" "$2" "$3")"
  if [ "$got" != "$4" ]; then
    echo "FAIL: $1.xlsx row $2 column $3: expected '$4', LibreOffice shows '$got'"; fail=1
  fi
}
expect seznam 3 1 "Seznam vázacích prostředků"
expect seznam 5 1 "Evid. číslo"
expect seznam 6 1 "0001"
expect seznam 45 1 "0040"
expect seznam 6 8 "1.1.2024"
expect seznam 6 9 "Sklad – Ústí n. L."
expect souhprot 4 2 "Strojírny Žďár, a.s."
expect souhprot 7 1 "0012"
expect souhprot 9 7 "Opraven"
expect souhprot 11 8 "Celkem (Kč):"
expect protokol 6 3 "Mostový jeřáb"
expect protokol 9 8 "0042"
expect protokol 24 1 "Průběh:"
[ $fail -eq 0 ] || exit 1
echo "OK: LibreOffice reads the workbooks; PDF pages in $out/png:"
ls "$out/png"
