#!/usr/bin/env bash
# Ladder server benchmark with wrk on loopback: full start + finish cycles, then
# GET /v2/standings, against quillmark-ladderd on a fresh database, either the bare server or
# the whole stack of deploy/ladder-stack.sh (nginx on TLS in front, SERVERS ladder servers
# behind it).
#
#   cmake --preset release && cmake --build --preset release --target quillmark-ladderd
#   bench/ladder/run.sh build/release 30s            # the bare server
#   bench/ladder/run.sh build/release 30s front      # through nginx, over TLS
#   SERVERS=2 POSTGRES=1 bench/ladder/run.sh build/release 30s front   # two servers, PostgreSQL
#
# Environment: CYCLE_THREADS (wrk threads = connections = bench users for the cycles,
# default 4), SERVER_THREADS (the server's --threads, default 8), STANDINGS_CONNECTIONS
# (default 8), SERVERS (ladder servers behind the front, default 1), POSTGRES (1: the stack
# keeps the ladder in a PostgreSQL of its own instead of an SQLite file), LADDERD (the server
# binary, default BUILD/bin/quillmark-ladderd). Through the front the benchmark's own address
# is exempt from nginx's per-client limits (--unlimited), which would otherwise measure
# themselves. Figures are reported, never checked.
set -euo pipefail

build=${1:-build/release}
duration=${2:-30s}
mode=${3:-bare}
cycle_threads=${CYCLE_THREADS:-4}
server_threads=${SERVER_THREADS:-8}
standings_connections=${STANDINGS_CONNECTIONS:-8}
servers=${SERVERS:-1}
postgres=${POSTGRES:-0}
here=$(cd "$(dirname "$0")" && pwd)
stack_script="$here/../../deploy/ladder-stack.sh"
server=${LADDERD:-$build/bin/quillmark-ladderd}
password=bench-password

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    if [ "$mode" = front ]; then
        "$stack_script" stop --dir "$work/stack" --ladderd "$server" || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

database="$work/ladder.db"
add_users() {
    for i in $(seq 1 "$cycle_threads"); do
        echo "$password" | "$@" user add "bench$i" --enabled >/dev/null
    done
}

case $mode in
    bare)
        add_users "$server" --database "$database"
        "$server" serve --port 0 --threads "$server_threads" --database "$database" \
            >"$work/server.out" 2>"$work/server.log" &
        pid=$!
        for _ in $(seq 1 500); do
            grep -q '^listening on ' "$work/server.out" 2>/dev/null && break
            sleep 0.01
        done
        port=$(sed -n 's/^listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
        url="http://127.0.0.1:$port"
        echo "bare server: $server, $server_threads threads, $(nproc) cores, database $database"
        ;;
    front)
        store=(--database "$database")
        [ "$postgres" = 1 ] && store=(--postgres)
        started=$("$stack_script" start --dir "$work/stack" --port 0 --servers "$servers" \
            "${store[@]}" --ladderd "$server" --unlimited 127.0.0.1)
        url=$(sed -n 's/^url=//p' <<<"$started")
        database=$("$stack_script" database --dir "$work/stack" --ladderd "$server")
        add_users "$stack_script" admin --dir "$work/stack" --ladderd "$server"
        echo "through the front: nginx on TLS at $url, $servers ladder server(s) $server," \
            "$(nproc) cores, database $database"
        ;;
    *)
        echo "run.sh: the mode is bare or front, not $mode" >&2
        exit 2
        ;;
esac

echo
echo "== start + finish cycles: $cycle_threads users, one connection each, $duration"
wrk -t"$cycle_threads" -c"$cycle_threads" -d"$duration" --latency \
    -s "$here/start_finish.lua" "$url" -- "$password"

if [[ $database == postgresql:* ]]; then
    games=$(psql "$database" -Atc "SELECT COUNT(*) FROM games" 2>/dev/null || echo "?")
else
    games=$(sqlite3 "$database" "SELECT COUNT(*) FROM games" 2>/dev/null || echo "?")
fi
echo
echo "== GET /v2/standings: $cycle_threads players, $games games, $standings_connections connections, $duration"
wrk -t2 -c"$standings_connections" -d"$duration" --latency "$url/v2/standings"

echo
echo "== GET /standings, the page: $standings_connections connections, $duration"
wrk -t2 -c"$standings_connections" -d"$duration" --latency "$url/standings"
