#!/usr/bin/env bash
# Builds (installing what is missing) and starts the program. Arguments are
# passed on, e.g. --workdir DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/orkelund "$@"
