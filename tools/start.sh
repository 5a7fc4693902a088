#!/usr/bin/env bash
# Prepares the default database (never overwriting a table file) and starts
# the program. Until the windows exist it runs the admin tool's check.
set -euo pipefail
cd "$(dirname "$0")/.."
build/tools/arsipstaf-admin init
if [ -x build/app/arsipstaf ]; then
  exec build/app/arsipstaf
fi
echo "The program's windows are not built yet; checking the database instead."
exec build/tools/arsipstaf-admin check
