#!/usr/bin/env bash
# Checks the installable program: the installed tree, the Debian package's
# file list and dependencies, and the package installed into the system
# with its admin tool run on a fresh database. Needs root (it installs the
# package and removes it again); exit code 77 (skipped) otherwise.
#
#     bash tools/package-test.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
if [ "$(id -u)" -ne 0 ]; then
  echo "package-test: needs root to install the package; skipped"
  exit 77
fi
if dpkg -s arsipstaf >/dev/null 2>&1; then
  echo "package-test: a package arsipstaf is already installed; not touching it"
  exit 1
fi
work=$(mktemp -d)
installed=no
cleanup() {
  if [ "$installed" = yes ]; then
    dpkg -r arsipstaf >/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "package-test: $*" >&2
  exit 1
}

cmake --build "$build" --target arsipstaf arsipstaf-admin arsipstaf_modules arsipstaf-install-files >/dev/null

# The installed tree.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in bin/arsipstaf bin/arsipstaf-admin lib/arsipstaf/arsipstaf-server.so lib/arsipstaf/arsipstaf-xlsx.so \
         share/applications/arsipstaf.desktop share/icons/hicolor/256x256/apps/arsipstaf.png share/man/man1/arsipstaf-admin.1.gz \
         share/man/man1/arsipstaf.1.gz share/doc/arsipstaf/copyright share/doc/arsipstaf/changelog.gz; do
  [ -s "$work/prefix/$f" ] || fail "installed tree lacks $f"
done
[ -x "$work/prefix/bin/arsipstaf" ] && [ -x "$work/prefix/bin/arsipstaf-admin" ] || fail "programs not executable"
file "$work/prefix/share/icons/hicolor/256x256/apps/arsipstaf.png" | grep -q "PNG image data, 256 x 256" \
  || fail "the icon is not a 256 x 256 PNG"
desktop-file-validate "$work/prefix/share/applications/arsipstaf.desktop" || fail "desktop entry invalid"
grep -qx "Exec=arsipstaf" "$work/prefix/share/applications/arsipstaf.desktop" || fail "desktop entry runs something else"
grep -qx "Icon=arsipstaf" "$work/prefix/share/applications/arsipstaf.desktop" || fail "desktop entry names another icon"
MANWIDTH=80 man -l "$work/prefix/share/man/man1/arsipstaf-admin.1.gz" 2>/dev/null | grep -q "restore DIR \[--force\]" \
  || fail "the manual page does not render"
MANWIDTH=80 man -l "$work/prefix/share/man/man1/arsipstaf.1.gz" 2>/dev/null | grep -q "arsipstaf-admin(1)" \
  || fail "the program's manual page does not render"

# The package: its files and what it depends on.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/arsipstaf_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort > "$work/files"
for f in /usr/bin/arsipstaf /usr/bin/arsipstaf-admin /usr/lib/arsipstaf/arsipstaf-server.so \
         /usr/lib/arsipstaf/arsipstaf-xlsx.so /usr/share/applications/arsipstaf.desktop /usr/share/icons/hicolor/256x256/apps/arsipstaf.png /usr/share/man/man1/arsipstaf-admin.1.gz \
         /usr/share/man/man1/arsipstaf.1.gz /usr/share/doc/arsipstaf/copyright /usr/share/doc/arsipstaf/changelog.gz; do
  grep -qx "$f" "$work/files" || fail "package lacks $f"
done
[ "$(wc -l < "$work/files")" -eq 10 ] || fail "package holds more than the ten files: $(tr '\n' ' ' < "$work/files")"
# Debian's package checker finds no error.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors in the package"
depends=$(dpkg-deb -f "$deb" Depends)
echo "package-test: Depends: $depends"
echo "$depends" | grep -q -- "-dev" && fail "package depends on a development package"
# Every library the programs and their modules link directly comes from a
# package it depends on.
for program in bin/arsipstaf bin/arsipstaf-admin lib/arsipstaf/arsipstaf-server.so lib/arsipstaf/arsipstaf-xlsx.so; do
  for library in $(objdump -p "$work/prefix/$program" | awk '/NEEDED/ {print $2}'); do
    # no early exit: ldconfig would die of SIGPIPE and pipefail end the script
    path=$(ldconfig -p | awk -v l="$library" '$1 == l && /x86-64/ && !found++ {print $NF}')
    [ -n "$path" ] || fail "$program needs $library, which is not installed"
    owner=$(dpkg -S "$(realpath "$path")" 2>/dev/null | head -1 | cut -d: -f1) \
      || owner=$(dpkg -S "$path" | head -1 | cut -d: -f1)
    echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$owner" \
      || fail "$program needs $library of $owner, which the package does not depend on"
  done
done
for needed in qt6-qpa-plugins fonts-liberation; do
  echo "$depends" | grep -q "$needed" || fail "package does not depend on $needed"
done

# Installed into the system, the admin tool prepares and checks a database.
apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
installed=yes
export ARSIPSTAF_ENGINE_CONFIG="$work/engine.conf"
/usr/bin/arsipstaf-admin init "$work/data" >/dev/null
/usr/bin/arsipstaf-admin check
/usr/bin/arsipstaf-admin generate 10 >/dev/null
/usr/bin/arsipstaf-admin export Tdatapeg "$work/p.xlsx" >/dev/null
/usr/bin/arsipstaf-admin backup "$work/backup" >/dev/null
/usr/bin/arsipstaf-admin restore "$work/backup" >/dev/null
/usr/bin/arsipstaf-admin check >/dev/null
man -w arsipstaf-admin >/dev/null || fail "man does not find arsipstaf-admin"
echo "package-test: ok"
