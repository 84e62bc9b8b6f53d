#!/usr/bin/env bash
# Builds, then runs vistrel-rig: with no arguments the embedded default rig,
# printed as tables, its picture written to rig.svg in the current folder.
# Arguments go to the program (try --help). The build's own output is shown
# only when it fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
echo "building vistrel-rig (the first build takes a few minutes)..." >&2
if ! log="$("$root/scripts/build.sh" 2>&1)"; then
  echo "$log" >&2
  exit 1
fi
exec "$root/build/bin/vistrel-rig" "$@"
