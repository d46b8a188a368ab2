#!/usr/bin/env bash
# Runs one Windows program under the run's Wine prefix; its exit code is the program's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
exec "$WINE" "$@"
