#!/usr/bin/env bash
# A CUPS queue that prints into PDF files (cups-pdf), for the printing tests:
# starts the scheduler when it is not running and adds the queue once.
# Needs root. Files land in the printing user's ~/PDF, named after the job.
set -euo pipefail
queue="${1:-arsipstaf-pdf}"
# lpstat -r answers 0 whether or not the scheduler runs: read what it says.
running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
if ! running; then
  /usr/sbin/cupsd
  for _ in $(seq 100); do running && break; sleep 0.1; done
  running || { echo "the CUPS scheduler did not start" >&2; exit 1; }
fi
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  lpadmin -p "$queue" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
fi
cupsenable "$queue"
cupsaccept "$queue"
lpstat -p "$queue"
