#!/usr/bin/env bash
# Builds and runs the smoke program: the module loaded, one mode run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
exec "$root/build/bin/vistrel-smoke" "$@"
