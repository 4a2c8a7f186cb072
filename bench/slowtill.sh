#!/bin/bash
# Runs the benchmark as a till four times slower than this machine would: under a CPU quota of a quarter
# of one core (1000 µs in every 4000 µs), in a cgroup of its own (v1 or v2; needs root).
# Generate the home at full speed first, then time it on the quota:
#   build/bench/quillmenu_bench --home /tmp/benchhome
#   bench/slowtill.sh build/bench/quillmenu_bench --home /tmp/benchhome
set -eu
quota=${QUOTA_US:-1000}
period=${PERIOD_US:-4000}
name=quillmenu-slowtill-$$
if [ -f /sys/fs/cgroup/cgroup.controllers ] && [ ! -d /sys/fs/cgroup/cpu ]; then
    group=/sys/fs/cgroup/$name
    mkdir "$group"
    echo "$quota $period" >"$group/cpu.max"
else
    group=/sys/fs/cgroup/cpu/$name
    mkdir "$group"
    echo "$period" >"$group/cpu.cfs_period_us"
    echo "$quota" >"$group/cpu.cfs_quota_us"
fi
cleanup() { rmdir "$group" 2>/dev/null || true; }
trap cleanup EXIT
echo "CPU quota: ${quota} µs per ${period} µs" >&2
# The shell moves itself into the group, then becomes the benchmark, so that every thread it starts is
# held to the quota too.
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} sh -c 'echo $$ >"$1/cgroup.procs"; shift; exec "$@"' sh "$group" "$@"
