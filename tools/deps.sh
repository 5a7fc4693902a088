#!/usr/bin/env bash
# Installs everything Arsipstaf needs to build, test and run, from Debian's packages.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev
  libpq-dev postgresql postgresql-common
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-liberation libcups2-dev cups-client clang-format
  xvfb xdotool openbox poppler-utils ghostscript libxcb1-dev
  emf2svg zlib1g-dev
  libxlsxwriter-dev python3-openpyxl xlsx2csv libfontconfig-dev
  dpkg-dev desktop-file-utils lintian
  libcli11-dev
)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
# The printing tests print through a CUPS queue into PDF files (tools/cups-pdf-queue.sh).
$SUDO apt-get install -y -qq --no-install-recommends cups printer-driver-cups-pdf
