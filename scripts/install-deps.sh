#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet:
# with apt-get as root, with sudo otherwise, or prints the command to type.
set -euo pipefail
missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$(id -u)" -eq 0 ]; then
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo apt-get update
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
else
    echo "Forkwise needs these Debian packages. Please run:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
