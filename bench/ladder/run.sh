#!/usr/bin/env bash
# Ladder server benchmark with wrk on loopback: GET /v2/standings and the standings page on a
# seeded ladder, then full start + finish cycles, against quillmark-ladderd on a fresh
# database, either the bare server or
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
# (default 8), SEED_PLAYERS and SEED_GAMES (the ladder the standings are read from, default
# 200 and 5000), SERVERS (ladder servers behind the front, default 1), POSTGRES (1: the stack
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
chmod 755 "$work"  # the stack's nginx workers and PostgreSQL may run as another user
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

# The same ladder for every run's standings: SEED_PLAYERS players with SEED_GAMES finished
# games among them (two in three solved), written straight into the database.
seed_players=${SEED_PLAYERS:-200}
seed_games=${SEED_GAMES:-5000}
if [[ $database == postgresql:* ]]; then
    psql -q "$database" <<SQL
INSERT INTO users (name, password_hash, email, enabled, created_at_ms)
    SELECT 'seed' || i, 'x', '', true, 0 FROM generate_series(1, $seed_players) AS i;
INSERT INTO games (id, user_id, puzzle, solution, level, started_at_ms, state, finished_at_ms,
                   seconds)
    SELECT lpad(to_hex(i), 32, '0'), (SELECT id FROM users WHERE name = 'seed' || (1 + i % $seed_players)),
           repeat('.', 81), repeat('1', 81), 'medium', 0,
           CASE WHEN i % 3 = 0 THEN 'failed' ELSE 'solved' END, 1000, 60 + i % 900
    FROM generate_series(1, $seed_games) AS i;
SQL
else
    sqlite3 "$database" <<SQL
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $seed_players)
INSERT INTO users (name, password_hash, email, enabled, created_at_ms)
    SELECT 'seed' || i, 'x', '', 1, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $seed_games)
INSERT INTO games (id, user_id, puzzle, solution, level, started_at_ms, state, finished_at_ms,
                   seconds)
    SELECT printf('%032x', i), (SELECT id FROM users WHERE name = 'seed' || (1 + i % $seed_players)),
           printf('%.81c', '.'), printf('%.81c', '1'), 'medium', 0,
           CASE WHEN i % 3 = 0 THEN 'failed' ELSE 'solved' END, 1000, 60 + i % 900
    FROM n;
SQL
fi

echo
echo "== GET /v2/standings: $seed_players players, $seed_games games, $standings_connections connections, $duration"
wrk -t2 -c"$standings_connections" -d"$duration" --latency "$url/v2/standings"

echo
echo "== GET /standings, the page of the same: $standings_connections connections, $duration"
wrk -t2 -c"$standings_connections" -d"$duration" --latency "$url/standings"

echo
echo "== start + finish cycles: $cycle_threads users, one connection each, $duration"
wrk -t"$cycle_threads" -c"$cycle_threads" -d"$duration" --latency \
    -s "$here/start_finish.lua" "$url" -- "$password"
