#!/usr/bin/env bash
# Builds and runs every test. Widget tests run offscreen; the server tests run
# against a throw-away PostgreSQL cluster (tools/with-test-server.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
export QT_QPA_PLATFORM=offscreen
# The engine tests also run on a database server: a throw-away one for this run.
bash tools/with-test-server.sh ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600
# A short crash test: writers killed at random lose no acknowledged record.
bash tools/crash-test.sh 50
# A kill at any moment of an upgrade leaves each table file old or new.
bash tools/crash-test.sh --upgrade 100
