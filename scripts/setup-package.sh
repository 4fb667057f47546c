#!/usr/bin/env bash
# Installs what making and checking the Debian package needs beyond the build:
# dpkg-shlibdeps (dpkg-dev) and file for the dependencies, rsvg-convert for the
# PNG renderings of the icon, gzip for the manual pages, and the checkers
# lintian, appstreamcli and desktop-file-validate. Only what is missing.
set -euo pipefail
packages=(dpkg-dev file gzip librsvg2-bin lintian appstream desktop-file-utils)
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
