#!/bin/sh
# Start-up of the real program under one Xvfb server:
#   bench/bench_startup.sh DRIVER FORKWISE LOG_DB [--runs N] [--dir TEMP_PARENT]
# DRIVER is the built forkwise-bench-startup; it starts a copy of FORKWISE in a program folder
# of its own with a copy of LOG_DB as Data/ForkData.mdb for each run.
set -eu

if [ $# -lt 3 ]; then
    echo "usage: bench/bench_startup.sh DRIVER FORKWISE LOG_DB [--runs N] [--dir TEMP_PARENT]" >&2
    exit 2
fi
driver=$1 forkwise=$2 log=$3
shift 3
if ! command -v xvfb-run >/dev/null; then
    echo "bench_startup.sh: xvfb-run is missing (package xvfb)" >&2
    exit 1
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$driver" "$forkwise" "$log" "$@"
