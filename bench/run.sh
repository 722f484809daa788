#!/bin/sh
# Runs the benchmarks: bench/run.sh BIN_DIR BUILD_DIR (as `make bench` does).
# The household log they load is built once, from the delivered database in BIN_DIR/Data, into
# BUILD_DIR/bench/household.mdb and reused afterwards, brought up to date when the layout of the
# program's files changed; delete that file to build it afresh.
# BENCH_RUNS sets the runs of the open and snapshot benchmarks (10), BENCH_STARTUP_ROUNDS the
# rounds of the start-up benchmark (5), BENCH_ENTRY_RUNS those of each kind of diet entry (50),
# BENCH_REPORT_RUNS those of each report (5). The start-up benchmark and the report's run with
# accessibility on need xvfb-run and dbus-run-session.
set -eu

if [ $# -ne 2 ]; then
    echo "usage: bench/run.sh BIN_DIR BUILD_DIR" >&2
    exit 2
fi
bin=$1
bench=$2/bench
delivered=$bin/Data/ForkData.mdb
log=$bench/household.mdb

for tool in forkwise-bench-mklog forkwise-bench-open forkwise-bench-startup forkwise-bench-floor \
    forkwise-bench-entries forkwise-bench-catalogue forkwise-bench-tools \
    forkwise-bench-snapshot forkwise-bench-restore forkwise-bench-report forkwise-bench-targets; do
    if [ ! -x "$bench/$tool" ]; then
        echo "bench/run.sh: $bench/$tool is missing; build the project first" >&2
        exit 1
    fi
done

if [ ! -f "$log" ]; then
    if [ ! -f "$delivered" ]; then
        echo "bench/run.sh: $delivered is missing; run 'make db' first" >&2
        exit 1
    fi
    "$bench/forkwise-bench-mklog" "$delivered" "$log" --years 10 --seed 1
fi
# A log of an older layout (or built from an older delivered database) is brought up to date
# once, here, rather than at every start the benchmarks time.
"$bench/forkwise-bench-mklog" --upgrade "$log"

"$bench/forkwise-bench-open" "$log" --runs "${BENCH_RUNS:-10}"
echo
"$(dirname "$0")/bench_startup.sh" "$bench/forkwise-bench-startup" "$bench/forkwise-bench-floor" \
    "$bin/forkwise" "$delivered" "$log" --rounds "${BENCH_STARTUP_ROUNDS:-5}"
echo
# Every entry is flushed to the file: once beside the build, on its disk, and once on a tmpfs,
# which shows the disk's share.
"$bench/forkwise-bench-entries" "$log" --runs "${BENCH_ENTRY_RUNS:-50}" --dir "$bench"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    echo
    "$bench/forkwise-bench-entries" "$log" --runs "${BENCH_ENTRY_RUNS:-50}" --dir /dev/shm
fi
echo
"$bench/forkwise-bench-catalogue" "$log" --runs "${BENCH_ENTRY_RUNS:-50}"
echo
"$bench/forkwise-bench-tools" "$log" --runs "${BENCH_ENTRY_RUNS:-20}"
echo
"$bench/forkwise-bench-targets" "$log" --runs "${BENCH_ENTRY_RUNS:-50}"
echo
# The copies are written beside the build, on its disk.
"$bench/forkwise-bench-snapshot" "$log" --runs "${BENCH_RUNS:-10}" --dir "$bench"
echo
# The restore works on a copy of the log in the temporary folder.
"$bench/forkwise-bench-restore" "$log" --runs "${BENCH_RUNS:-5}"
echo
# The report offscreen, then the year once more on X with accessibility on, as a screen reader
# has it: a D-Bus session of its own with the accessibility bus started in it, all of which ends
# with the run.
"$bench/forkwise-bench-report" "$log" --runs "${BENCH_REPORT_RUNS:-5}"
echo
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- sh -c '
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null &&
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$0" "$1" --runs "$2" --year-only' \
    "$bench/forkwise-bench-report" "$log" "${BENCH_REPORT_RUNS:-5}"
