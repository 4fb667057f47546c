#!/usr/bin/env bash
# Installs what the crawl benchmark needs: a web server for the test site, the
# peer downloaders it is compared with, and GNU time for wall time, CPU time and
# peak memory, and openssl for the test certificate of the https site. Only
# packages that are missing are installed.
set -euo pipefail

packages=(nginx wget wget2 httrack time python3 python3.11-doc openssl)

# Only the nginx package starts a service when installed.
if dpkg-query -W -f='${Status}' nginx 2>/dev/null | grep -q "install ok installed"; then
  exec bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# A policy-rc.d that refuses keeps the package from starting a system nginx on
# port 80: the benchmark runs its own instance on a private loopback port.
if [ ! -e /usr/sbin/policy-rc.d ]; then
  printf '#!/bin/sh\nexit 101\n' | $sudo tee /usr/sbin/policy-rc.d >/dev/null
  $sudo chmod +x /usr/sbin/policy-rc.d
  trap '$sudo rm -f /usr/sbin/policy-rc.d' EXIT
fi
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
