#!/usr/bin/env bash
# Checks the package scripts/package.sh made: every file a Debian user expects
# is in it, its dependencies name the libraries and what the window loads at
# run time, the desktop entry and the AppStream metainfo it installs validate,
# and lintian finds no error. Usage: scripts/check-package.sh [DEB]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-package.sh
deb=${1:-$(ls zorone_*_amd64.deb)}
fail=0

listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
required=(
  ./usr/bin/zorone
  ./usr/bin/zorone-cli
  ./usr/share/applications/zorone.desktop
  ./usr/share/icons/hicolor/scalable/apps/zorone.svg
  ./usr/share/icons/hicolor/48x48/apps/zorone.png
  ./usr/share/icons/hicolor/128x128/apps/zorone.png
  ./usr/share/icons/hicolor/256x256/apps/zorone.png
  ./usr/share/doc/zorone/README.md
  ./usr/share/doc/zorone/copyright
  ./usr/share/doc/zorone/changelog.gz
  ./usr/share/man/man1/zorone.1.gz
  ./usr/share/man/man1/zorone-cli.1.gz
  './usr/share/metainfo/*.metainfo.xml'
  ./usr/share/bash-completion/completions/zorone-cli
)
# An item is matched as a pattern, for the metainfo named after the app id.
in_listing() {
  local f
  while read -r f; do
    # shellcheck disable=SC2053
    [[ $f == $1 ]] && return 0
  done <<<"$listing"
  return 1
}
for item in "${required[@]}"; do
  in_listing "$item" || { echo "missing from $deb: $item"; fail=1; }
done

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libcurl4 libqt6widgets6 fonts-ipafont-gothic qt6-translations-l10n libqt6svg6; do
  if ! grep -q "\b$dep\b" <<<"$depends"; then
    echo "Depends lacks $dep: $depends"
    fail=1
  fi
done
if [ "$(dpkg-deb -f "$deb" Description | wc -l)" -lt 3 ]; then
  echo "the package has no long description"
  fail=1
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/zorone.desktop" || fail=1
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail=1
lintian --fail-on error --info "$deb" || fail=1

[ "$fail" -eq 0 ] && echo "$deb: complete, valid, no lintian errors"
exit "$fail"
