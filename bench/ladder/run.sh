#!/usr/bin/env bash
# Ladder server benchmark with wrk on loopback: full start + finish cycles, then
# GET /v2/standings, against quillmark-ladderd on a fresh SQLite database.
#
#   cmake -S . -B build/server-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
#         -DQUILLMARK_BUILD_GUI=OFF -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF
#   cmake --build build/server-release --target quillmark-ladderd
#   bench/ladder/run.sh build/server-release 30s
#
# Environment: CYCLE_THREADS (wrk threads = connections = bench users for the cycles,
# default 4), SERVER_THREADS (the server's --threads, default 8), STANDINGS_CONNECTIONS
# (default 8). cpp-httplib gives each open connection one of the server's threads for as
# long as it is kept alive, so connections beyond --threads wait their turn: keep
# STANDINGS_CONNECTIONS at or below SERVER_THREADS to measure the server, not the queue.
# Figures are reported, never checked.
set -euo pipefail

build=${1:-build/release}
duration=${2:-30s}
cycle_threads=${CYCLE_THREADS:-4}
server_threads=${SERVER_THREADS:-8}
standings_connections=${STANDINGS_CONNECTIONS:-8}
here=$(cd "$(dirname "$0")" && pwd)
server="$build/bin/quillmark-ladderd"
password=bench-password

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

database="$work/ladder.db"
for i in $(seq 1 "$cycle_threads"); do
    echo "$password" | "$server" user add "bench$i" --enabled --database "$database" >/dev/null
done

"$server" serve --port 0 --threads "$server_threads" --database "$database" \
    >"$work/server.out" 2>"$work/server.log" &
pid=$!
for _ in $(seq 1 500); do
    grep -q '^listening on ' "$work/server.out" 2>/dev/null && break
    sleep 0.01
done
port=$(sed -n 's/^listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
url="http://127.0.0.1:$port"
echo "server: $server, $server_threads threads, $(nproc) cores, database $database"

echo
echo "== start + finish cycles: $cycle_threads users, one connection each, $duration"
wrk -t"$cycle_threads" -c"$cycle_threads" -d"$duration" --latency \
    -s "$here/start_finish.lua" "$url" -- "$password"

games=$(sqlite3 "$database" "SELECT COUNT(*) FROM games" 2>/dev/null || echo "?")
echo
echo "== GET /v2/standings: $cycle_threads players, $games games, $standings_connections connections, $duration"
wrk -t2 -c"$standings_connections" -d"$duration" --latency "$url/v2/standings"
