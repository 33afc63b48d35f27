#!/usr/bin/env bash
# Checks the report exports with independent readers: runs the installed
# accessory overview over the demo data into HTML and RTF, lets headless
# Chromium render the HTML to a picture and LibreOffice Writer convert the RTF
# to PDF (rendered to PNG), and checks that every output is there and not
# empty. Look at the pictures in the output folder once after a change of the
# exporters. Installs chromium, libreoffice-writer and poppler-utils when missing.
# Usage: scripts/check-report-exports.sh [output folder]   (default /tmp/tavozz-report-check)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-/tmp/tavozz-report-check}"
bdir="${BUILD_DIR:-$here/build}"

chrome=""
for c in chromium chromium-browser google-chrome; do
  command -v "$c" >/dev/null 2>&1 && { chrome="$c"; break; }
done
need=()
[ -n "$chrome" ] || need+=(chromium)
command -v soffice >/dev/null 2>&1 || need+=(libreoffice-writer)
command -v pdftoppm >/dev/null 2>&1 || need+=(poppler-utils)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
  [ -n "$chrome" ] || chrome=chromium
fi

cmake -S "$here" -B "$bdir" >/dev/null
cmake --build "$bdir" --target tavozz-cli -j"${JOBS:-2}" >/dev/null
cli="$bdir/bin/tavozz-cli"
rm -rf "$out"
mkdir -p "$out/png" "$out/pdf"
"$cli" init "$out/data/Datazz" --demo >/dev/null

sql="Select firmy.firma, druhy.nazev as D, basic.* from basic, firmy, druhy where basic.firma=firmy.pcfir and basic.druh=druhy.druh order by basic.evid_c"
# a parameter with the characters the formats must escape
param='Zkouška: A&B s.r.o. <500 kg> {svěrky} \ "uvozovky"'
for fmt in html rtf; do
  "$cli" report run "$here/install/reports/pvp.pts" --data "$out/data" --sql "$sql" --param "$param" \
    --format "$fmt" --out "$out/pvp.$fmt" 2>"$out/$fmt.err" >/dev/null
done

fail=0
check() {   # check FILE WHAT
  if [ ! -s "$1" ]; then echo "FAIL: $2 ($1 missing or empty)"; fail=1; else echo "ok:   $2 -> $1"; fi
}
check "$out/pvp.html" "HTML export"
check "$out/pvp.rtf" "RTF export"

# HTML in a real browser
"$chrome" --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1200,900 \
  --screenshot="$out/png/pvp-html.png" "file://$out/pvp.html" >/dev/null 2>&1 || true
check "$out/png/pvp-html.png" "HTML rendered by Chromium"

# RTF in a real word processor
profile="file://$out/profile"
soffice -env:UserInstallation="$profile" --headless --convert-to pdf --outdir "$out/pdf" "$out/pvp.rtf" >/dev/null 2>&1 || true
check "$out/pdf/pvp.pdf" "RTF converted to PDF by LibreOffice Writer"
if [ -s "$out/pdf/pvp.pdf" ]; then
  pdftoppm -r 70 -png "$out/pdf/pvp.pdf" "$out/png/pvp-rtf"
  check "$(ls "$out"/png/pvp-rtf*.png 2>/dev/null | head -n1)" "RTF page as PNG"
  # the text survived the word processor, escapes included
  if command -v pdftotext >/dev/null 2>&1; then
    text="$(pdftotext "$out/pdf/pvp.pdf" - 2>/dev/null | tr -s ' \n' ' ')"
    for want in "Přehled vázacích prostředků" "R-001" "{svěrky}" "A&B s.r.o."; do
      case "$text" in
        *"$want"*) echo "ok:   RTF shows '$want'" ;;
        *) echo "FAIL: LibreOffice shows no '$want' in the RTF"; fail=1 ;;
      esac
    done
  fi
fi
if grep -q 'A&amp;B s.r.o. &lt;500 kg&gt;' "$out/pvp.html"; then
  echo "ok:   HTML escapes the parameter"
else
  echo "FAIL: the HTML does not escape the parameter"; fail=1
fi

echo "Pictures to look at: $out/png"
exit $fail
