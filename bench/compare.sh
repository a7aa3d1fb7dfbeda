#!/bin/bash
# Before/after comparison of variants of one program (copies of a build
# before and after a change): direct exec with the runs alternating between
# the variants, page faults (exceptions, as perf counts them) and callgrind
# instructions of one request, against a switchsim of BUILD_DIR, inside a
# private mount and network namespace.
#
#   bench/compare.sh BUILD_DIR PROGRAM [PROGRAM...]
#
# Environment: CMP_URI (/api/v2/routing/bgp-config/local-as), CMP_METHOD
# (GET), CMP_QUERY, CMP_BODY, CMP_RUNS (300 per variant).
set -u

die() {
    echo "compare: $*" >&2
    exit 1
}

if [ "${1:-}" != --inside ]; then
    [ $# -ge 2 ] || die "usage: bench/compare.sh BUILD_DIR PROGRAM [PROGRAM...]"
    build=$(cd "$1" && pwd) || die "no build directory $1"
    shift
    progs=()
    for p in "$@"; do
        [ -x "$p" ] || die "$p is not a program"
        progs+=("$(cd "$(dirname "$p")" && pwd)/$(basename "$p")")
    done
    [ "$(id -u)" = 0 ] || die "needs root, for a private mount and network namespace"
    exec unshare -m -n -- bash "$0" --inside "$build" "${progs[@]}"
fi

shift
build_real=$1
shift
# Keep handles on the build tree and the variants (they may live under /mnt
# or /tmp), then bind and copy them under a private /mnt and replace /tmp.
mount --make-rprivate / || die "cannot make the mounts private"
exec 8<"$build_real" || die "cannot open $build_real"
fds=()
names=()
i=0
for p in "$@"; do
    exec {fd}<"$p" || die "cannot open $p"
    fds+=("$fd")
    names+=("$i.$(basename "$p")")
    i=$((i + 1))
done
mount -t tmpfs -o mode=755 tmpfs /mnt || die "cannot mount /mnt"
mkdir -p /mnt/cmp/build /mnt/cmp/v
mount -c --bind /proc/self/fd/8 /mnt/cmp/build || die "cannot bind the build tree"
exec 8<&-
for k in "${!names[@]}"; do
    cat <&"${fds[$k]}" >"/mnt/cmp/v/${names[$k]}" && chmod 755 "/mnt/cmp/v/${names[$k]}"
    exec {fds[$k]}<&-
done
mount -t tmpfs -o mode=1777 tmpfs /tmp || die "cannot mount /tmp"
ip link set lo up 2>/dev/null

B=/mnt/cmp/build
V=/mnt/cmp/v
uri=${CMP_URI:-/api/v2/routing/bgp-config/local-as}
method=${CMP_METHOD:-GET}
query=${CMP_QUERY:-}
body=${CMP_BODY:-}
runs=${CMP_RUNS:-300}
export SWITCHSIM_SOCKET=/tmp/switchsim.sock
mkdir -p /tmp/session
printf 'admin\n0\n' >/tmp/session/bench-admin
"$B/bin/switchsim" --state /tmp/switchsim.state </dev/null >/tmp/switchsim.log 2>&1 &
sim_pid=$!
trap 'kill -TERM "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null' EXIT
for _ in $(seq 100); do
    "$B/bin/switchsim" --ctl ping >/dev/null 2>&1 && break
    sleep 0.05
done

paths=()
for n in "${names[@]}"; do
    paths+=("$V/$n")
done
mapfile -t lines < <("$B/bench/exec_bench" -n "$runs" -w 5 -m "$method" -u "$uri" -q "$query" -b "$body" "${paths[@]}")
env=(REQUEST_URI="$uri${query:+?$query}" REQUEST_METHOD="$method" QUERY_STRING="$query" HTTP_SESSION=bench-admin
    SWITCHSIM_SOCKET="$SWITCHSIM_SOCKET" PATH=/usr/bin:/bin)
[ -n "$body" ] && env+=(CONTENT_LENGTH=${#body})
echo "$method $uri${query:+?$query}: $runs alternating runs per variant"
printf '%-28s %10s %9s %9s %8s %10s %12s %9s\n' variant "mean ms" "sd ms" "p50 ms" "cpu ms" "faults" instructions "RSS KiB"
for k in "${!names[@]}"; do
    read -r _ mean sd p50 _ rss _ _ cpu <<<"${lines[$k]}"
    faults=-
    if command -v perf >/dev/null; then
        faults=$(printf %s "$body" | env -i "${env[@]}" perf stat -x, -e page-faults -r 20 "${paths[$k]}" 2>&1 >/dev/null |
            awk -F, '/page-faults/ { printf "%.0f", $1 }')
    fi
    instr=-
    if command -v valgrind >/dev/null; then
        instr=$(printf %s "$body" | env -i "${env[@]}" valgrind --tool=callgrind --callgrind-out-file=/dev/null \
            "${paths[$k]}" 2>&1 >/dev/null | sed -n 's/.*Collected : *\([0-9]*\).*/\1/p')
    fi
    awk -v n="${names[$k]}" -v m="$mean" -v s="$sd" -v p="$p50" -v c="$cpu" -v f="${faults:--}" -v i="${instr:--}" -v r="$rss" \
        'BEGIN { printf "%-28s %10.3f %9.3f %9.3f %8.3f %10s %12s %9s\n", n, m / 1000, s / 1000, p / 1000, c / 1000, f, i, r }'
done
