#!/bin/bash
# Benchmarks of the three API programs against a floor CGI (a program that
# only prints the 17002 envelope):
#   - through lighttpd (mod_cgi, 127.0.0.1) with wrk: requests per second,
#     p50 and p99 latency;
#   - by direct exec, many runs in a row: mean and standard deviation of the
#     wall time per request;
#   - instructions of one request (callgrind) and peak resident set of one
#     request of each program (/usr/bin/time);
#   - the micro benchmarks (build/bench/micro_bench).
# Everything runs inside a private mount and network namespace with its own
# /tmp (session files, log, simulator socket), so nothing touches the host's
# /tmp or network. The table goes to BUILD_DIR/bench/results.txt and to
# standard output. Targets are reported, never enforced: the exit status is 0
# unless the bench itself could not run.
#
#   bench/run.sh [BUILD_DIR]            (BUILD_DIR defaults to "build")
#
# Environment:
#   BENCH_DURATION=5    seconds of wrk per row, over all rounds
#   BENCH_CONNS=8       wrk connections
#   BENCH_THREADS=2     wrk threads
#   BENCH_RUNS=300      direct-exec runs per row, over all rounds
#   BENCH_PORT=8091     web server port (inside the private network namespace)
#   BENCH_MICRO=1       run the micro benchmarks (0: skip)
#   BENCH_CALLGRIND=1   count instructions with valgrind (0: skip)
#   BENCH_ROUNDS=5      rounds per row (duration and runs are split into them)
#   BENCH_REV           commit named in the table (default: git rev-parse)
#   LIGHTTPD=/usr/sbin/lighttpd  WRK=wrk
set -u

die() {
    echo "bench: $*" >&2
    exit 1
}

if [ "${1:-}" != --inside ]; then
    src=$(cd "$(dirname "$0")/.." && pwd)
    build=${1:-build}
    [ -d "$build" ] || die "build directory '$build' not found (run 'make build' first)"
    build=$(cd "$build" && pwd)
    for f in bin/pathgate bin/coregate bin/swarmgate bin/switchsim bench/floor_cgi bench/exec_bench; do
        [ -x "$build/$f" ] || die "$build/$f is missing (build with -DOXEL_BENCH=ON)"
    done
    [ -x "${LIGHTTPD:-/usr/sbin/lighttpd}" ] || die "lighttpd not found"
    command -v "${WRK:-wrk}" >/dev/null || die "wrk not found (install the wrk package)"
    command -v curl >/dev/null || die "curl not found"
    command -v unshare >/dev/null || die "unshare not found (util-linux)"
    [ "$(id -u)" = 0 ] || die "needs root, for a private mount and network namespace"
    exec unshare -m -n -- bash "$0" --inside "$src" "$build"
fi

# --- inside the private namespaces ----------------------------------------------

src_real=$2
build_real=$3
# The build tree may live under /tmp, which is about to be replaced: keep
# handles on both trees, bind them under a private /mnt, then mount /tmp.
exec 8<"$build_real" 9<"$src_real" || die "cannot open the trees"
mount --make-rprivate / || die "cannot make the mounts private"
mount -t tmpfs -o mode=755 tmpfs /mnt || die "cannot mount /mnt"
mkdir -p /mnt/oxel-bench/build /mnt/oxel-bench/src
mount -c --bind /proc/self/fd/8 /mnt/oxel-bench/build || die "cannot bind the build tree"
mount -c --bind /proc/self/fd/9 /mnt/oxel-bench/src || die "cannot bind the source tree"
exec 8<&- 9<&-
mount -t tmpfs -o mode=1777 tmpfs /tmp || die "cannot mount /tmp"
ip link set lo up 2>/dev/null || die "cannot bring the loopback interface up"

S=/mnt/oxel-bench/src
B=/mnt/oxel-bench/build
bin=$B/bin
out=$B/bench
run=/tmp/oxel-bench
mkdir -p "$run/htdocs" "$out"
duration=${BENCH_DURATION:-5}
conns=${BENCH_CONNS:-8}
threads=${BENCH_THREADS:-2}
runs=${BENCH_RUNS:-300}
port=${BENCH_PORT:-8091}
lighttpd=${LIGHTTPD:-/usr/sbin/lighttpd}
wrk=${WRK:-wrk}
session=bench-admin
socket=/tmp/switchsim.sock
export SWITCHSIM_SOCKET=$socket
url=http://127.0.0.1:$port

mkdir -p /tmp/session
printf 'admin\n0\n' >"/tmp/session/$session"

sim_pid=
web_pid=
stop_all() {
    if [ -n "$web_pid" ]; then
        kill -TERM "$web_pid" 2>/dev/null
        wait "$web_pid" 2>/dev/null
    fi
    web_pid=
    if [ -n "$sim_pid" ]; then
        kill -TERM "$sim_pid" 2>/dev/null
        wait "$sim_pid" 2>/dev/null
    fi
    sim_pid=
    [ -f "$run/lighttpd-error.log" ] && cp "$run/lighttpd-error.log" "$out/lighttpd-error.log"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

"$bin/switchsim" --socket "$socket" --state "$run/switchsim.state" </dev/null >"$run/switchsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
    "$bin/switchsim" --socket "$socket" --ctl ping >/dev/null 2>&1 && break
    kill -0 "$sim_pid" 2>/dev/null || die "switchsim did not start: $(tail -n 3 "$run/switchsim.log")"
    sleep 0.05
done

# The demo's web server configuration, plus the floor program.
conf=$run/lighttpd.conf
sed -e "s|@PORT@|$port|g" -e "s|@DEMO_DIR@|$run|g" -e "s|@BIN_DIR@|$bin|g" -e "s|@SOCKET@|$socket|g" \
    "$S/scripts/lighttpd.conf.in" >"$conf" || die "cannot write $conf"
cat >>"$conf" <<EOF

# Floor of the benchmarks.
\$HTTP["url"] =~ "^/bench/floor/" {
    alias.url  = ("/bench/floor" => "$out/floor_cgi")
    cgi.assign = ("" => "")
}
EOF
"$lighttpd" -tt -f "$conf" >"$run/lighttpd-check.log" 2>&1 || die "lighttpd configuration: $(cat "$run/lighttpd-check.log")"
"$lighttpd" -D -f "$conf" </dev/null >"$run/lighttpd.log" 2>&1 &
web_pid=$!
for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    kill -0 "$web_pid" 2>/dev/null || die "lighttpd did not start: $(tail -n 3 "$run/lighttpd-error.log" "$run/lighttpd.log")"
    sleep 0.05
done

# --- rows ----------------------------------------------------------------------------

# The row coregate registers last: the last route row of the last table that
# system/routes.def includes. Rows name their directory by the identifier of
# the table's DIRECTORY line.
last_core_row() {
    local def last=
    for def in $(sed -n 's|^#include "\(system/[^"]*\.def\)".*|\1|p' "$S/system/routes.def"); do
        local row dir
        row=$(grep -E '^(STUB|ROUTE|FIXED|CLI)\(' "$S/$def" | tail -n 1)
        [ -n "$row" ] || continue
        # DIRECTORY(system, "/api/v2/system/system", "system")
        dir=$(sed -n -E 's#^DIRECTORY\([a-z0-9_]+, *"([^"]*)".*#\1#p' "$S/$def" | head -n 1)
        last="$dir|$row|$def"
    done
    # /api/v2/system/system|STUB(system, "busy-status", GET, handler, 0)|system/routes_system.def
    printf '%s\n' "$last" | sed -E 's#^([^|]*)[|][A-Z_]+\([a-z0-9_]+, *"([^"]*)", *([A-Z]+),.*[|](.*)$#\1/\2 \3 \4#'
}
read -r last_uri last_method last_def <<<"$(last_core_row)"

put_body='{"intf":5,"mode":"enable"}'
ospf=/api/v2/routing/ospf-config/map-intf-admin-mode
cli=/api/v2/routing/routing-stats/num-ecmp-routes
fan=/api/v2/system/boxs/fan-speed
loc=/api/v2/system/1213/sys-location
loc_body='{"sys_location":"Lab rack 4"}'
env=/api/v2/system/boxs/temp-sensor-max-temp
mfdb=/api/v2/mcast/mfdb/entry-get-next
mfdb_body='{"vidMac":"00:01:01:00:5e:01:01:01"}'
mvr=/api/v2/mcast/mvr/multicast-vlan
# id|label|program|method|path|query|body
rows=(
    "1|floor CGI (17002 envelope only)|$out/floor_cgi|GET|/bench/floor/stub||"
    "2|pathgate stub: GET /api/v2/routing/bgp-config/local-as|$bin/pathgate|GET|/api/v2/routing/bgp-config/local-as||"
    "3|pathgate getter, 1 switch call: GET $ospf?intf=5|$bin/pathgate|GET|$ospf|intf=5|"
    "4|pathgate setter: PUT $ospf $put_body|$bin/pathgate|PUT|$ospf||$put_body"
    "5|pathgate CLI-backed getter (show and parse): GET $cli|$bin/pathgate|GET|$cli||"
    "6|coregate last registered: $last_method $last_uri|$bin/coregate|$last_method|$last_uri||"
    "7|coregate getter, 1 switch call: GET $fan?fanNum=1|$bin/coregate|GET|$fan|fanNum=1|"
    "8|coregate setter: PUT $loc $loc_body|$bin/coregate|PUT|$loc||$loc_body"
    "9|coregate CLI-backed getter (show environment and parse): GET $env?sensorNum=2|$bin/coregate|GET|$env|sensorNum=2|"
    "10|swarmgate CLI-backed getter (show mvr and parse): GET $mvr|$bin/swarmgate|GET|$mvr||"
    "11|swarmgate MFDB iterator step: POST $mfdb|$bin/swarmgate|POST|$mfdb||$mfdb_body"
)

# Prints "code respCode" of one request through the web server.
probe_web() {
    local method=$1 path=$2 query=$3 body=$4 code resp
    local target=$url$path${query:+?$query}
    if [ "$method" = PUT ] || [ "$method" = POST ]; then
        code=$(curl -s -o "$run/probe" -w '%{http_code}' --max-time 30 -X "$method" -H "Session: $session" \
            -H 'Content-Type: application/json' -d "$body" "$target")
    else
        code=$(curl -s -o "$run/probe" -w '%{http_code}' --max-time 30 -X "$method" -H "Session: $session" "$target")
    fi
    resp=$(sed -n 's/.*"respCode":[[:space:]]*\(-\{0,1\}[0-9]*\).*/\1/p' "$run/probe" | head -n 1)
    echo "${code:-000} ${resp:--}"
}

# One wrk round through the web server: prints "requests seconds p50_ms p99_ms errors".
web_round() {
    local method=$1 path=$2 query=$3 body=$4 secs=$5
    local target=$url$path${query:+?$query}
    local args=(-t "$threads" -c "$conns" -d "${secs}s" --latency -H "Session: $session")
    case $method in PUT | POST) args+=(-s "$S/bench/put.lua") ;; esac
    BENCH_METHOD=$method BENCH_BODY=$body timeout $((secs + 30)) "$wrk" "${args[@]}" "$target" >"$run/wrk.out" 2>&1
    awk '
        function ms(v) {
            if (v ~ /us$/) return substr(v, 1, length(v) - 2) / 1000
            if (v ~ /ms$/) return substr(v, 1, length(v) - 2) + 0
            if (v ~ /s$/) return substr(v, 1, length(v) - 1) * 1000
            return v + 0
        }
        $1 == "50%" { p50 = ms($2) }
        $1 == "99%" { p99 = ms($2) }
        / requests in / { n = $1; t = $4; sub(/s,?$/, "", t) }
        /Non-2xx or 3xx responses:/ { err += $NF }
        /Socket errors:/ { for (i = 3; i <= NF; i += 2) { v = $(i + 1); gsub(",", "", v); err += v } }
        END { printf "%d %s %.3f %.3f %d\n", n, t, p50, p99, err }
    ' "$run/wrk.out"
}

# Combines rounds ("requests seconds p50 p99 errors" lines): prints
# "req/s p50_ms p99_ms errors", the latencies as the median over the rounds.
web_combine() {
    awk '
        function median(a, n,    i, j, t) {
            for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        NF >= 5 { k++; req += $1; secs += $2; p50[k] = $3; p99[k] = $4; err += $5 }
        END {
            if (k == 0 || secs == 0) { print "n/a (wrk did not run)"; exit }
            printf "%.0f %.3f %.3f %d\n", req / secs, median(p50, k), median(p99, k), err
        }'
}

# One direct-exec round: prints exec_bench'"'"'s line and keeps the first answer.
exec_round() {
    local prog=$1 method=$2 path=$3 query=$4 body=$5 n=$6 warm=$7 answer=$8
    timeout 600 "$out/exec_bench" -n "$n" -w "$warm" -m "$method" -u "$path" -q "$query" -b "$body" \
        -s "$session" -o "$answer" "$prog"
}

# Pools exec_bench rounds ("runs mean sd p50 p99 maxrss minflt failures cpu"):
# prints "mean_ms sd_ms maxrss_kib minflt failures".
exec_combine() {
    awk '
        NF >= 9 { k++; n[k] = $1; m[k] = $2; s[k] = $3; N += $1; sum += $1 * $2; flt += $1 * $7; fail += $8
                  if ($6 > rss) rss = $6 }
        END {
            if (N == 0) { print "n/a (no run)"; exit }
            M = sum / N; ss = 0
            for (i = 1; i <= k; i++) ss += (n[i] - 1) * s[i] * s[i] + n[i] * (m[i] - M) * (m[i] - M)
            printf "%.3f %.3f %d %d %d\n", M / 1000, (N > 1 ? sqrt(ss / (N - 1)) : 0) / 1000, rss, flt / N, fail
        }'
}

respcode_of() {
    sed -n 's/.*"respCode":[[:space:]]*\(-\{0,1\}[0-9]*\).*/\1/p' "$1" 2>/dev/null | head -n 1
}

# Instructions of one request under callgrind.
instr_row() {
    local prog=$1 method=$2 path=$3 query=$4 body=$5 n
    [ "${BENCH_CALLGRIND:-1}" = 1 ] && command -v valgrind >/dev/null || { echo -; return; }
    local env=(REQUEST_URI="$path${query:+?$query}" REQUEST_METHOD="$method" QUERY_STRING="$query"
        HTTP_SESSION="$session" SWITCHSIM_SOCKET="$socket" PATH=/usr/bin:/bin)
    case $method in PUT | POST) env+=(CONTENT_LENGTH=${#body}) ;; esac
    printf %s "$body" | env -i "${env[@]}" valgrind --tool=callgrind --callgrind-out-file=/dev/null "$prog" \
        >/dev/null 2>"$run/callgrind.err"
    n=$(sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' "$run/callgrind.err" | tail -n 1)
    echo "${n:--}"
}

# Peak resident set of one request (KiB), as /usr/bin/time -v reports it.
rss_row() {
    local prog=$1 method=$2 path=$3 query=$4 body=$5
    [ -x /usr/bin/time ] || { echo -; return; }
    local env=(REQUEST_URI="$path${query:+?$query}" REQUEST_METHOD="$method" QUERY_STRING="$query"
        HTTP_SESSION="$session" SWITCHSIM_SOCKET="$socket" PATH=/usr/bin:/bin)
    case $method in PUT | POST) env+=(CONTENT_LENGTH=${#body}) ;; esac
    printf %s "$body" | env -i "${env[@]}" /usr/bin/time -v "$prog" >/dev/null 2>"$run/time.err"
    sed -n 's/.*Maximum resident set size (kbytes): *\([0-9]*\).*/\1/p' "$run/time.err" | tail -n 1
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || a == "-" || b == "-" || b + 0 == 0) print "-"; else printf "%.2fx\n", a / b }'
}

rounds=${BENCH_ROUNDS:-5}
round_secs=$(((duration + rounds - 1) / rounds))
round_runs=$(((runs + rounds - 1) / rounds))
echo "bench: $rounds interleaved rounds per row: wrk ${round_secs}s x $conns connections, $round_runs direct runs ..." >&2
declare -A W E I R WR ER RESP
active=()
for row in "${rows[@]}"; do
    IFS='|' read -r id label prog method path query body <<<"$row"
    if [ -z "$prog" ]; then
        W[$id]="n/a (not built yet)"
        E[$id]="n/a (not built yet)"
        continue
    fi
    read -r code resp <<<"$(probe_web "$method" "$path" "$query" "$body")"
    if [ "$code" != 200 ] || [ "$resp" = - ]; then
        W[$id]="n/a (HTTP $code, no envelope: route not registered)"
    fi
    exec_round "$prog" "$method" "$path" "$query" "$body" 1 0 "$run/answer-$id" >/dev/null
    r=$(respcode_of "$run/answer-$id")
    if [ -z "$r" ]; then
        E[$id]="n/a (no envelope: route not registered)"
    fi
    RESP[$id]=${r:-$resp}
    [ -z "${W[$id]:-}" ] || [ -z "${E[$id]:-}" ] && active+=("$row")
done
# Rounds go through every row in turn, so that a change in the machine's load
# weighs on all rows alike.
for round in $(seq "$rounds"); do
    for row in "${active[@]}"; do
        IFS='|' read -r id label prog method path query body <<<"$row"
        [ -z "${W[$id]:-}" ] && WR[$id]+="$(web_round "$method" "$path" "$query" "$body" "$round_secs")"$'\n'
        [ -z "${E[$id]:-}" ] && ER[$id]+="$(exec_round "$prog" "$method" "$path" "$query" "$body" "$round_runs" 5 /dev/null)"$'\n'
    done
    echo "bench: round $round of $rounds done" >&2
done
for row in "${active[@]}"; do
    IFS='|' read -r id label prog method path query body <<<"$row"
    [ -z "${W[$id]:-}" ] && W[$id]="$(printf %s "${WR[$id]}" | web_combine) ${RESP[$id]}"
    if [ -z "${E[$id]:-}" ]; then
        E[$id]="$(printf %s "${ER[$id]}" | exec_combine) ${RESP[$id]}"
        I[$id]=$(instr_row "$prog" "$method" "$path" "$query" "$body")
        R[$id]=$(rss_row "$prog" "$method" "$path" "$query" "$body")
    fi
done
swarm_rss=$(rss_row "$bin/swarmgate" GET /api/v2/mcast/mvr/group-ip "" "")

# --- table ---------------------------------------------------------------------------

machine() {
    local cpu
    cpu=$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -n 1)
    echo "nproc $(nproc), CPU ${cpu:-unknown}, kernel $(uname -r)"
}

read -r f_rps f_p50 f_p99 f_err f_resp <<<"${W[1]}"
read -r f_mean f_sd f_rss f_flt f_fail f_r <<<"${E[1]}"
notes=()
rev=${BENCH_REV:-$(git -C "$S" rev-parse --short HEAD 2>/dev/null || echo unknown)}
{
    echo "oxel_cgi benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $rev"
    echo "machine: $(machine)"
    echo "lighttpd (127.0.0.1, mod_cgi): wrk -t$threads -c$conns --latency, $rounds rounds of ${round_secs}s per row; req/s over all rounds, p50 and p99 the median of the rounds' values"
    echo "direct exec: $rounds rounds of $round_runs runs in a row per row (5 warm-up runs each), switchsim running; mean and sd over all runs; page faults: minor faults per request"
    echo "rounds go through every row in turn, so that the machine's load weighs on all rows alike"
    echo "row 6: the route coregate registers last ($last_def, last row): $last_method $last_uri"
    echo
    echo "| row | request | resp | req/s | p50 ms | p99 ms | p50/floor | exec mean ms | sd ms | mean/floor | page faults | instructions | peak RSS KiB |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    for row in "${rows[@]}"; do
        IFS='|' read -r id label prog method path query body <<<"$row"
        w=${W[$id]}
        e=${E[$id]}
        case $w in
            n/a*)
                web="| n/a | - | - | - |" resp=-
                notes+=("row $id through lighttpd: $w")
                ;;
            *)
                read -r rps p50 p99 err resp <<<"$w"
                note=
                [ "$err" != 0 ] && note=" ($err errors)"
                web="| $rps$note | $p50 | $p99 | $(ratio "$p50" "$f_p50") |"
                ;;
        esac
        case $e in
            n/a*)
                ex="n/a | - | - | - | - | -"
                notes+=("row $id by direct exec: $e")
                ;;
            *)
                read -r mean sd rss flt fail r <<<"$e"
                note=
                [ "$fail" != 0 ] && note=" ($fail failed)"
                ex="$mean$note | $sd | $(ratio "$mean" "$f_mean") | $flt | ${I[$id]:--} | ${R[$id]:--}"
                [ "$resp" = - ] && resp=$r
                ;;
        esac
        echo "| $id | $label | $resp $web $ex |"
    done
    for n in "${notes[@]}"; do
        echo "$n"
    done
    echo
    echo "Peak RSS of one request (/usr/bin/time -v): pathgate ${R[2]:--} KiB, coregate ${R[6]:--} KiB, swarmgate ${swarm_rss:--} KiB (floor ${R[1]:--} KiB)"
    read -r s_rps s_p50 _ <<<"${W[2]}"
    read -r g_rps g_p50 _ <<<"${W[3]}"
    echo "Targets (reported, not enforced):"
    echo "  stub p50 within 1.3x the floor's through lighttpd: $(ratio "$s_p50" "$f_p50")"
    case ${W[3]} in
        n/a*) echo "  one-switch-call getter within 1.5x: n/a (route not registered yet)" ;;
        *) echo "  one-switch-call getter within 1.5x: $(ratio "$g_p50" "$f_p50")" ;;
    esac
    read -r _ c_p50 _ <<<"${W[7]}"
    echo "  coregate one-switch-call getter within 1.5x: $(ratio "$c_p50" "$f_p50")"
    echo "  peak RSS of one request under 4096 KiB: pathgate ${R[2]:--}, coregate ${R[6]:--}, swarmgate ${swarm_rss:--}"
} >"$out/results.txt"

# --- the snooping group list as the switch's group table grows ------------------------

# A state file of the default switch whose IGMP snooping has learnt $1 groups
# in VLAN 1, one subscriber each, on the ports in turn.
groups_state() {
    local n=$1 file=$2 sock=$run/groups.sock
    rm -f "$file"
    "$bin/switchsim" --socket "$sock" --state "$file" </dev/null >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 1 100); do
        "$bin/switchsim" --socket "$sock" --ctl ping >/dev/null 2>&1 && break
        sleep 0.05
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    awk -v n="$n" '
        /"igmp":[[:space:]]*{/ { inIgmp = 1 }
        inIgmp && !done && /^\t\t\t"groups":[[:space:]]*\[\],?$/ {
            printf "\t\t\t\"groups\":\t["
            for (i = 0; i < n; i++) {
                printf "%s{\"vlan\":1,\"group\":\"239.%d.%d.%d\",\"intIfNum\":%d,", (i ? "," : ""),
                    int(i / 65536) % 256, int(i / 256) % 256, i % 256 + 1, i % 24 + 1
                printf "\"subscriber\":\"10.%d.%d.%d\",\"subscriberMac\":\"00:11:22:%02x:%02x:%02x\",",
                    int(i / 65536) % 256, int(i / 256) % 256, i % 256, int(i / 65536) % 256, int(i / 256) % 256, i % 256
                printf "\"version\":2,\"timeout\":260}"
            }
            print "],"
            done = 1
            next
        }
        { print }
    ' "$file" >"$file.new" && mv "$file.new" "$file"
}

group_path=/api/v2/mcast/snooping/group
group_rows=()
for n in 10 100 1000; do
    state=$run/groups_$n.state
    groups_state "$n" "$state"
    gsock=$run/groups_$n.sock
    "$bin/switchsim" --socket "$gsock" --state "$state" </dev/null >"$run/groups_$n.log" 2>&1 &
    gpid=$!
    for _ in $(seq 1 100); do
        "$bin/switchsim" --socket "$gsock" --ctl ping >/dev/null 2>&1 && break
        sleep 0.05
    done
    saved_socket=$socket
    socket=$gsock
    export SWITCHSIM_SOCKET=$gsock
    answer=$run/groups_$n.answer
    e=$(exec_round "$bin/swarmgate" GET "$group_path" "" "" "$round_runs" 5 "$answer" | exec_combine)
    listed=$(grep -o '"groupIp"' "$answer" 2>/dev/null | wc -l)
    bytes=$(wc -c <"$answer" 2>/dev/null || echo 0)
    i=$(instr_row "$bin/swarmgate" GET "$group_path" "" "")
    r=$(rss_row "$bin/swarmgate" GET "$group_path" "" "")
    group_rows+=("$n|$(respcode_of "$answer")|$listed|$bytes|$e|$i|$r")
    socket=$saved_socket
    export SWITCHSIM_SOCKET=$socket
    kill "$gpid" 2>/dev/null
    wait "$gpid" 2>/dev/null
done
{
    echo
    echo "Snooping group list (GET $group_path) by direct exec, $round_runs runs each, as the switch's IGMP group table grows:"
    echo
    echo "| groups | resp | groups listed | answer bytes | exec mean ms | sd ms | page faults | instructions | peak RSS KiB |"
    echo "|---|---|---|---|---|---|---|---|---|"
    for g in "${group_rows[@]}"; do
        IFS='|' read -r n resp listed bytes e i r <<<"$g"
        read -r mean sd _ flt fail _ <<<"$e"
        echo "| $n | ${resp:--} | $listed | $bytes | $mean | $sd | $flt | ${i:--} | ${r:--} |"
    done
} >>"$out/results.txt"

if [ "${BENCH_MICRO:-1}" = 1 ] && [ -x "$out/micro_bench" ]; then
    echo "bench: micro benchmarks ..." >&2
    {
        echo
        echo "Micro benchmarks (Google Benchmark; Debian's library warns it was built as DEBUG, which does not affect the code measured):"
        if timeout 600 "$out/micro_bench" --benchmark_min_time=0.3 >"$run/micro.out" 2>"$run/micro.err"; then
            sed -n '/^-----/,$p' "$run/micro.out"
        else
            echo "micro_bench failed: $(grep -v WARNING "$run/micro.err" | tail -n 3)"
        fi
    } >>"$out/results.txt"
fi

stop_all
cat "$out/results.txt"
echo "bench: results in $build_real/bench/results.txt" >&2
