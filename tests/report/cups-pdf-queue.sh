#!/usr/bin/env bash
# Makes a PDF print queue the system's default printer, for the test of the real print path:
# starts the print spooler when it is not running, adds the queue "ForkwisePDF" (the CUPS-PDF
# backend) and has it write its files into the folder given. Any step that fails fails the
# script, and with it the test: the test never passes without having printed.
set -euo pipefail
out=${1:?usage: cups-pdf-queue.sh OUTPUT-FOLDER}
export PATH="$PATH:/usr/sbin:/sbin"

if [ "$(id -u)" -ne 0 ]; then
    echo "cups-pdf-queue.sh: starting the print spooler and adding a queue needs root" >&2
    exit 1
fi
for tool in cupsd lpadmin lpinfo lpoptions lpstat; do
    command -v "$tool" >/dev/null || {
        echo "cups-pdf-queue.sh: $tool is missing (Debian packages cups, printer-driver-cups-pdf)" >&2
        exit 1
    }
done

mkdir -p "$out"
chmod 0777 "$out"
# The backend reads its settings at every job: both the user's and the anonymous folder go here.
conf=/etc/cups/cups-pdf.conf
[ -f "$conf" ] || { echo "cups-pdf-queue.sh: $conf is missing" >&2; exit 1; }
sed -i -e '/^[[:space:]]*Out[[:space:]]/d' -e '/^[[:space:]]*AnonDirName[[:space:]]/d' "$conf"
printf 'Out %s\nAnonDirName %s\n' "$out" "$out" >>"$conf"

running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }
if ! running; then
    mkdir -p /run/cups
    cupsd
    for _ in $(seq 1 100); do
        running && break
        sleep 0.2
    done
fi
running || { echo "cups-pdf-queue.sh: cupsd did not start" >&2; exit 1; }

ppd=$(lpinfo -m | awk 'tolower($0) ~ /cups-pdf_opt\.ppd/ { print $1; exit }')
[ -n "$ppd" ] || { echo "cups-pdf-queue.sh: no CUPS-PDF driver (printer-driver-cups-pdf)" >&2; exit 1; }
lpadmin -p ForkwisePDF -E -v cups-pdf:/ -m "$ppd"
lpoptions -d ForkwisePDF >/dev/null
lpstat -d
