#!/usr/bin/env bash
# Brings the translation files up to date with the sources: every string in
# tr() and in the .ui files (lupdate), without line numbers, so that a change
# of code alone leaves them as they are. Then translate what lrelease lists
# as unfinished (Qt Linguist, or any editor).
# Usage: scripts/update-translations.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh qt6-l10n-tools
LUPDATE=/usr/lib/qt6/bin/lupdate
LRELEASE=/usr/lib/qt6/bin/lrelease
# English, the language of the sources, needs only the plural forms.
"$LUPDATE" -locations none -no-obsolete -extensions cpp,h,ui -pluralonly src resources \
  -ts translations/pramel_en.ts
for ts in translations/pramel_*.ts; do
  if [[ $ts != translations/pramel_en.ts ]]; then
    "$LUPDATE" -locations none -no-obsolete -extensions cpp,h,ui src resources -ts "$ts"
  fi
  echo "$ts: $("$LRELEASE" "$ts" -qm /dev/null | grep -E "Generated")"
done
