#!/usr/bin/env bash
# Installs what Corvexo needs to build, run and test on Debian 12 (as root),
# then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make ccache qt6-base-dev qt6-base-dev-tools python3-pyftpdlib python3-openssl
          xvfb xauth xdotool x11-apps imagemagick fonts-ipafont-gothic locales curl openssl
          qt6-translations-l10n dpkg-dev appstream pkg-config libssh-dev openssh-server openssh-client
          openbox lintian libc-l10n lftp)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages (run as root to install them): ${missing[*]}" >&2
  fi
fi
# The Japanese run needs the ja_JP.UTF-8 locale.
if [ "$(id -u)" -eq 0 ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ -f /etc/locale.gen ]; then
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null 2>&1 || true
  fi
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build -j"$(nproc)"
