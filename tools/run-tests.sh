#!/usr/bin/env bash
# Builds and runs every test. Widget tests run offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600
# A short crash test: writers killed at random lose no acknowledged record.
bash tools/crash-test.sh 50
