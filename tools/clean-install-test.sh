#!/usr/bin/env bash
# Installs the Debian package on a clean Debian 12 (a minimal system made
# with debootstrap, nothing of the build machine in it), lets apt bring in
# what it depends on, then prepares and checks a database with the installed
# admin tool and starts the program; the modules it loads when used are
# reached too: an export to a workbook, and a database on a throw-away server
# of the build machine (tools/with-test-server.sh; the chroot shares its
# network). The package must pass lintian without errors first. Needs root
# and Debian's mirror.
#     tools/clean-install-test.sh build
set -euo pipefail
if [ -z "${ARSIPSTAF_TEST_PG:-}" ]; then
  exec "$(dirname "$0")/with-test-server.sh" bash "$0" "$@"
fi
build=$(realpath "${1:-build}")
mirror=$(grep -m1 -h '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | awk '{print $2}')
mirror=${mirror:-http://deb.debian.org/debian}
root=$(mktemp -d /tmp/arsipstaf-clean.XXXXXX)
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
command -v debootstrap >/dev/null || apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/arsipstaf_*_amd64.deb | head -1)
# Debian's package checker: any error fails the run.
command -v lintian >/dev/null || apt-get install -y -qq --no-install-recommends lintian >/dev/null
lintian --fail-on error --tag-display-limit 0 "$deb"
debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
cp "$deb" "$root/tmp/arsipstaf.deb"
cp /etc/resolv.conf "$root/etc/" 2>/dev/null || true
# The throw-away server is reached by the build machine's host names.
cp /etc/hosts "$root/etc/" 2>/dev/null || true
mount -t proc proc "$root/proc"
chroot "$root" env SERVER="$ARSIPSTAF_TEST_PG" PGPASSWORD="${PGPASSWORD:-}" bash -euo pipefail -c '
  export DEBIAN_FRONTEND=noninteractive HOME=/root QT_QPA_PLATFORM=offscreen
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends /tmp/arsipstaf.deb >/dev/null
  arsipstaf-admin init /root/data >/dev/null
  arsipstaf-admin check
  [ "$(stat -c %a /root/data)" = 700 ] || { echo "data directory is not 0700"; exit 1; }
  arsipstaf-admin generate 10 >/dev/null
  arsipstaf-admin export Tdatapeg /root/pegawai.xlsx
  # The tables on the server, through a configuration of their own.
  ARSIPSTAF_ENGINE_CONFIG=/root/server.conf arsipstaf-admin init "$SERVER" >/dev/null
  ARSIPSTAF_ENGINE_CONFIG=/root/server.conf arsipstaf-admin check
  # The program starts and keeps running: it waits at its login window.
  rc=0; timeout 5 arsipstaf >/dev/null 2>&1 || rc=$?
  [ "$rc" = 124 ] || { echo "arsipstaf ended with $rc at start"; exit 1; }
'
echo "clean-install-test: ok"
