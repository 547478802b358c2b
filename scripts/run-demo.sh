#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo databases in ./run when they are
# missing, and starts qlxhost as the menu program would:
#   menu id of the keyword's entry, user 1 (ADMIN), company DEMO, today's date.
# Usage: scripts/run-demo.sh [KEYWORD]   (default PROJECT)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
keyword=${1:-PROJECT}
bash scripts/setup.sh
bash scripts/build.sh
mkdir -p run
cd run
"$root/build/src/qlxdb" demo-exists || "$root/build/src/qlxdb" create-demo
menu=$("$root/build/src/qlxdb" menu-id "$keyword" 2>/dev/null || echo 8)
exec "$root/build/src/qlxhost" "$menu" 1 DEMO - "$keyword" "$(date +%d/%m/%Y)"
