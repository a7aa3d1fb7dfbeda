#!/bin/sh
# Runs the demo's example requests through lighttpd in a private root:
# its own network (loopback only) and fresh /tmp and /mnt.
#   demo_smoke.sh SOURCE_DIR BUILD_DIR
set -e
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
exec unshare -m -n sh -c '
set -e
mount --make-rprivate /
mount -t tmpfs tmpfs /mnt
mkdir /mnt/src /mnt/build
mount --bind "$0" /mnt/src
mount --bind "$1" /mnt/build
mount -t tmpfs -o mode=1777 tmpfs /tmp
ip link set lo up
cd /mnt/src
DEMO_SMOKE=1 scripts/demo.sh /mnt/build
' "$src" "$build"
