#!/bin/sh
# Start-up of the real program against a bare Qt window, under one Xvfb server:
#   bench/bench_startup.sh DRIVER FLOOR FORKWISE DELIVERED_DB LOG_DB [--rounds N] [--dir TEMP_PARENT]
# DRIVER is the built forkwise-bench-startup and FLOOR the built forkwise-bench-floor; each run
# starts a copy of its program in a program folder of its own, Forkwise with a copy of
# DELIVERED_DB or LOG_DB as Data/ForkData.mdb.
set -eu

if [ $# -lt 5 ]; then
    echo "usage: bench/bench_startup.sh DRIVER FLOOR FORKWISE DELIVERED_DB LOG_DB [--rounds N] [--dir TEMP_PARENT]" >&2
    exit 2
fi
driver=$1
shift
if ! command -v xvfb-run >/dev/null; then
    echo "bench_startup.sh: xvfb-run is missing (package xvfb)" >&2
    exit 1
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$driver" "$@"
