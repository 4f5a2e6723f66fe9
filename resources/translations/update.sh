#!/usr/bin/env bash
# Collects the translatable texts of every user-interface folder into both translation files.
# New texts arrive unfinished; translate them (linguist, or by hand) before committing.
set -euo pipefail
cd "$(dirname "$0")/../.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
dirs=()
for d in app workspace widgets colour spectral report spreadsheet analysis history; do
  [[ -d $d ]] && dirs+=("$d")
done
"$LUPDATE" -no-obsolete -locations none "${dirs[@]}" \
  -ts resources/translations/Velorin_en.ts resources/translations/Velorin_zh.ts
