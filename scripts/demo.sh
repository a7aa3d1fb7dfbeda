#!/bin/bash
# Runs the three API programs behind a local web server against the switch
# simulator, prints example requests and stays in the foreground until
# Ctrl-C or SIGTERM, then stops both servers.
#
#   scripts/demo.sh [BUILD_DIR]            (BUILD_DIR defaults to "build")
#
# Environment:
#   DEMO_PORT=8080               web server port on 127.0.0.1
#   SWITCHSIM_SOCKET=PATH        simulator socket (default /tmp/switchsim.sock)
#   DEMO_SESSION=demo-admin      session identifier of the admin session file
#   DEMO_SMOKE=1                 run the example requests, print their answers,
#                                stop everything; exit 0 only when every answer
#                                carries "respCode"
#   LIGHTTPD=/usr/sbin/lighttpd  web server binary
#
# Files: BUILD_DIR/demo/ holds the generated web server configuration, the
# simulator's state file (kept across runs) and the logs; the session
# file is /tmp/session/<DEMO_SESSION>.
set -u

die() {
    echo "demo: $*" >&2
    exit 1
}

scripts=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
[ -d "$build" ] || die "build directory '$build' not found (run 'make build' first)"
build=$(cd "$build" && pwd)
bin=$build/bin
demo=$build/demo
port=${DEMO_PORT:-8080}
socket=${SWITCHSIM_SOCKET:-/tmp/switchsim.sock}
session=${DEMO_SESSION:-demo-admin}
lighttpd=${LIGHTTPD:-/usr/sbin/lighttpd}
smoke=${DEMO_SMOKE:-0}
export SWITCHSIM_SOCKET=$socket

for prog in pathgate coregate swarmgate switchsim; do
    [ -x "$bin/$prog" ] || die "$bin/$prog is missing (run 'make build' first)"
done
[ -x "$lighttpd" ] || die "$lighttpd not found (install the lighttpd package)"
command -v curl >/dev/null || die "curl not found"
case $port in
    '' | *[!0-9]*) die "DEMO_PORT must be a port number" ;;
esac
case $session in
    '' | . | .. | *[!A-Za-z0-9._-]*) die "DEMO_SESSION must consist of letters, digits, '.', '_' and '-'" ;;
esac
case $socket in
    /*) ;;
    *) socket=$PWD/$socket && export SWITCHSIM_SOCKET=$socket ;;
esac

# --- checks before anything is started -------------------------------------

port_busy() {
    if command -v ss >/dev/null 2>&1; then
        [ -n "$(ss -Hltn "sport = :$port" 2>/dev/null)" ] && return 0
    fi
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null
}

if port_busy; then
    echo "demo: port $port on 127.0.0.1 is already in use; stop whatever listens there or set DEMO_PORT" >&2
    exit 1
fi
if "$bin/switchsim" --socket "$socket" --ctl ping >/dev/null 2>&1; then
    echo "demo: a switch simulator already answers on $socket;" \
        "stop it or set SWITCHSIM_SOCKET to another path" >&2
    exit 1
fi

# --- configuration, session ---------------------------------------------------

mkdir -p "$demo/htdocs" || die "cannot create $demo"
conf=$demo/lighttpd.conf
sed -e "s|@PORT@|$port|g" -e "s|@DEMO_DIR@|$demo|g" -e "s|@BIN_DIR@|$bin|g" -e "s|@SOCKET@|$socket|g" \
    "$scripts/lighttpd.conf.in" >"$conf" || die "cannot write $conf"
"$lighttpd" -tt -f "$conf" >"$demo/lighttpd-check.log" 2>&1 || {
    cat "$demo/lighttpd-check.log" >&2
    die "the generated $conf does not load"
}

mkdir -p /tmp/session || die "cannot create /tmp/session"
printf 'admin\n0\n' >"/tmp/session/$session" || die "cannot write /tmp/session/$session"

# --- start and stop -------------------------------------------------------------

sim_pid=
web_pid=

alive() {
    [ -n "$1" ] && kill -0 "$1" 2>/dev/null
}

stop_all() {
    trap '' INT TERM
    if [ -n "$web_pid" ] && alive "$web_pid"; then
        kill -TERM "$web_pid" 2>/dev/null
        wait "$web_pid" 2>/dev/null
    fi
    web_pid=
    if [ -n "$sim_pid" ] && alive "$sim_pid"; then
        kill -TERM "$sim_pid" 2>/dev/null
        wait "$sim_pid" 2>/dev/null
    fi
    sim_pid=
}

on_signal() {
    echo
    echo "demo: stopping"
    stop_all
    exit 0
}

trap stop_all EXIT
trap on_signal INT TERM

# Both servers run as children of this script, so that it can wait for them.
"$bin/switchsim" --socket "$socket" --state "$demo/switchsim.state" \
    </dev/null >>"$demo/switchsim.log" 2>&1 &
sim_pid=$!
up=0
for _ in $(seq 50); do
    if ! alive "$sim_pid"; then
        wait "$sim_pid" 2>/dev/null
        sim_pid=
        break
    fi
    if "$bin/switchsim" --socket "$socket" --ctl ping >/dev/null 2>&1; then
        up=1
        break
    fi
    sleep 0.1
done
if [ "$up" != 1 ]; then
    tail -n 5 "$demo/switchsim.log" >&2
    die "switchsim did not start (log: $demo/switchsim.log)"
fi

: >"$demo/lighttpd-error.log"
"$lighttpd" -D -f "$conf" </dev/null >>"$demo/lighttpd.log" 2>&1 &
web_pid=$!
up=0
for _ in $(seq 50); do
    if ! alive "$web_pid"; then
        wait "$web_pid" 2>/dev/null
        web_pid=
        break
    fi
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        up=1
        break
    fi
    sleep 0.1
done
if [ "$up" != 1 ]; then
    if grep -q "Address already in use" "$demo/lighttpd-error.log" "$demo/lighttpd.log" 2>/dev/null; then
        echo "demo: port $port on 127.0.0.1 is already in use; stop whatever listens there or set DEMO_PORT" >&2
    else
        tail -n 5 "$demo/lighttpd-error.log" "$demo/lighttpd.log" >&2
        echo "demo: lighttpd did not start (logs in $demo)" >&2
    fi
    exit 1
fi

# --- examples -------------------------------------------------------------------

url=http://127.0.0.1:$port
# What works, a few kinds per program: a setting changed and read back and a
# view of the switch's show output (coregate), a table walked from its first
# entry to its second (pathgate), a view of "show mvr" and the first entry of
# the multicast forwarding database (swarmgate).
examples=(
    "curl -s -X PUT -H 'Session: $session' -H 'Content-Type: application/json' -d '{\"sys_location\": \"Lab rack 4\"}' $url/api/v2/system/1213/sys-location"
    "curl -s -H 'Session: $session' $url/api/v2/system/1213/sys-location"
    "curl -s -H 'Session: $session' $url/api/v2/system/boxs/temp-range"
    "curl -s -H 'Session: $session' $url/api/v2/routing/routing/ip-router-proto-name-next"
    "curl -s -H 'Session: $session' '$url/api/v2/routing/routing/ip-router-proto-name-next?protoId=1'"
    "curl -s -H 'Session: $session' $url/api/v2/mcast/mvr/admin-mode"
    "curl -s -X POST -d '' -H 'Session: $session' $url/api/v2/mcast/mfdb/entry-get-first"
)

if [ "$smoke" = 1 ]; then
    failed=0
    for ex in "${examples[@]}"; do
        echo "\$ $ex"
        answer=$(eval "$ex --max-time 30")
        printf '%s\n' "$answer"
        case $answer in
            *respCode*) ;;
            *)
                echo "demo: no respCode in that answer" >&2
                failed=1
                ;;
        esac
    done
    stop_all
    if [ "$failed" != 0 ]; then
        echo "demo: smoke test FAILED (logs in $demo and /tmp/qv700.log)" >&2
        exit 1
    fi
    echo "demo: smoke test passed"
    exit 0
fi

cat <<EOF
Demo running:
  web server   $url  (pid $web_pid, config $conf)
  switchsim    $socket  (pid $sim_pid, state $demo/switchsim.state)
  session      /tmp/session/$session  (user admin)
  logs         /tmp/qv700.log, $demo/lighttpd-*.log

Try:
EOF
for ex in "${examples[@]}"; do
    echo "  $ex"
done
cat <<EOF

Simulator controls: SWITCHSIM_SOCKET=$socket $bin/switchsim --ctl calls | dump | reset ...
Each request without a Refresh header renews the session's time stamp; after
7200 s of idle uptime the session file is deleted; restart the demo to get it back.
Press Ctrl-C to stop.
EOF

wait "$web_pid" 2>/dev/null
status=$?
web_pid=
if [ "$status" = 0 ]; then
    # lighttpd was told to stop from outside (a Ctrl-C that reached it first).
    echo
    echo "demo: lighttpd stopped; stopping"
    stop_all
    exit 0
fi
echo "demo: lighttpd exited unexpectedly with status $status (logs in $demo)" >&2
exit 1
