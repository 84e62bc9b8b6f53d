#!/usr/bin/env bash
# Installs those of the given Debian packages that are missing, when run as
# root; otherwise names them and fails. With --no-recommends first, without
# the packages' recommendations.
#
#   scripts/install-packages.sh [--no-recommends] PACKAGE...
set -euo pipefail
options=()
if [ "${1:-}" = --no-recommends ]; then
  options=(--no-install-recommends)
  shift
fi
missing=()
for p in "$@"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq ${options[@]+"${options[@]}"} "${missing[@]}" >/dev/null
