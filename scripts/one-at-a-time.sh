#!/usr/bin/env bash
# Runs COMMAND holding a lock in the build folder, so that a second run of it
# in the same clone says so and stops before it writes anything. Every
# process COMMAND starts holds the lock with it.
#   one-at-a-time.sh BUILD NAME COMMAND...
set -euo pipefail
build=$1 name=$2
shift 2
mkdir -p -- "$build"
exec 8>>"$build/.zb-running.lock"
if ! flock -n 8; then
    echo "$name: another $name is running in this clone (it holds $build/.zb-running.lock); this one stops" >&2
    exit 1
fi
exec "$@"
