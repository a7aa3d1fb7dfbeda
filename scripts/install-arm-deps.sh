#!/bin/sh
# Installs the Debian packages the ARM (armhf) cross build and its tests need,
# when missing: the cross compilers, user-mode qemu, the armhf development
# packages of the libraries the programs link, GoogleTest's sources (built for
# the target by the cross build) and the build and test tools.
# Run as root on Debian 12; does nothing when everything is present.
set -e
arch=armhf
pkgs="cmake make pkg-config file googletest
      gcc-arm-linux-gnueabihf g++-arm-linux-gnueabihf binutils-arm-linux-gnueabihf qemu-user
      libc6:$arch libstdc++6:$arch libcjson-dev:$arch libsqlite3-dev:$arch
      wrk iproute2 util-linux curl $EXTRA_PKGS"

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=""
for p in $pkgs; do
    installed "$p" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" != 0 ]; then
    echo "missing packages:$missing (run as root to install them)" >&2
    exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    echo "adding dpkg architecture $arch"
    dpkg --add-architecture "$arch"
fi
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends $missing
