#!/usr/bin/env bash
# A CUPS queue that prints into PDF files (cups-pdf), for the printing tests:
# starts the scheduler when it is not running and adds the queue once.
# Needs root. Files land in the printing user's ~/PDF, named after the job.
set -euo pipefail
queue="${1:-arsipstaf-pdf}"
if ! lpstat -r >/dev/null 2>&1; then
  /usr/sbin/cupsd
  for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
fi
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  lpadmin -p "$queue" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
fi
cupsenable "$queue"
cupsaccept "$queue"
lpstat -p "$queue"
