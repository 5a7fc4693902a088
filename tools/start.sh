#!/usr/bin/env bash
# Prepares the default database (never overwriting a table file) and starts
# the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
build/tools/arsipstaf-admin init
exec build/app/arsipstaf
