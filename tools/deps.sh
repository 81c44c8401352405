#!/usr/bin/env bash
# Installs what building, running and testing Tarvo need on Debian 12 (as root), when missing,
# with any further packages named as arguments (tools/deps.sh openbox).
set -euo pipefail
packages=(
  cmake g++ make pkg-config ccache iproute2
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev qtkeychain-qt6-dev
  libssl-dev openssl python3-openssl
  libmemcached11 libmemcachedutil2 libpcre2-posix3 libsodium23
  python3-pyftpdlib vsftpd curl
  xvfb xauth xdotool fonts-dejavu-core adwaita-icon-theme poppler-utils
  desktop-file-utils appstream dpkg-dev dbus-daemon gnome-keyring
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
  # Installing vsftpd may start a system-wide server on port 21. The tests run servers of their
  # own (each with its own configuration file, which this pattern does not match).
  if [[ " ${missing[*]} " == *" vsftpd "* ]]; then
    if command -v service >/dev/null; then service vsftpd stop >/dev/null 2>&1 || true; fi
    pkill -f '^/usr/sbin/vsftpd( /etc/vsftpd.conf)?$' 2>/dev/null || true
  fi
fi
# proftpd and pure-ftpd for the tests, unpacked rather than installed: apt will not install them
# beside vsftpd. Their libraries are in the list above.
unpacked=/opt/tarvo-test-servers
if [ ! -x "$unpacked/usr/sbin/proftpd" ] || [ ! -x "$unpacked/usr/sbin/pure-ftpd" ]; then
  work=$(mktemp -d)
  download() { (cd "$work" && apt-get download -qq -o APT::Sandbox::User=root proftpd-core pure-ftpd); }
  download || { apt-get update -qq && download; }
  mkdir -p "$unpacked"
  for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$unpacked"; done
  rm -rf "$work"
fi
exit 0
