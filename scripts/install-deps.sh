#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need, when missing.
# Run as root on Debian 12; does nothing when everything is present.
set -e
pkgs="cmake g++ make pkg-config libcjson-dev libsqlite3-dev lighttpd googletest libgtest-dev libbenchmark-dev iproute2 util-linux curl $EXTRA_PKGS"
missing=""
for p in $pkgs; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" != 0 ]; then
    echo "missing packages:$missing (run as root to install them)" >&2
    exit 1
fi
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends $missing
