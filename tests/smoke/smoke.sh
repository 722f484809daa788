#!/usr/bin/env bash
# Starts the real program under Xvfb on a database of its own, waits for its main window,
# closes it through the window system, and checks that the database was closed cleanly and
# left unchanged. Usage: smoke.sh FORKWISE MKDB XWINDOW
set -euo pipefail
forkwise=$1 mkdb=$2 xwindow=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program looks for Data/ beside itself: give this copy a folder of its own.
cp "$forkwise" "$work/forkwise"
"$mkdb" "$work/Data/ForkData.mdb" >/dev/null
before=$(sha256sum "$work/Data/ForkData.mdb" | cut -d' ' -f1)

cat >"$work/session.sh" <<INNER
set -e
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
"$work/forkwise" & pid=\$!
"$xwindow" wait "Forkwise 1.0" 20000 >/dev/null || { echo "no main window appeared"; kill \$pid; exit 1; }
"$xwindow" close "Forkwise 1.0"
for i in \$(seq 1 200); do kill -0 \$pid 2>/dev/null || break; sleep 0.05; done
if kill -0 \$pid 2>/dev/null; then echo "the program did not end after its window closed"; kill \$pid; exit 1; fi
wait \$pid
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/session.sh"

after=$(sha256sum "$work/Data/ForkData.mdb" | cut -d' ' -f1)
[ "$before" = "$after" ] || { echo "the database changed"; exit 1; }
ls "$work/Data" | grep -q -- '-journal\|-wal' && { echo "a journal was left behind"; exit 1; }
sqlite3 "$work/Data/ForkData.mdb" 'PRAGMA integrity_check;' | grep -qx ok || { echo "damaged"; exit 1; }
grep -q MainWidth "$work/config/Forkwise/Forkwise.conf" || { echo "placement not saved"; exit 1; }
