#!/usr/bin/env bash
# The standings at scale: seeds a big ladder once (PostgreSQL: 1,000,000 players and 20,000,000
# games; SQLite: 100,000 and 2,000,000) and measures, on a copy of it, the bare server and the
# whole stack of deploy/ladder-stack.sh (nginx on TLS in front): the first page, a page deep in
# the list and one player's place, of GET /v2/standings and of the page /standings (p50, p99,
# bytes); the finish p99 of start + finish cycles (start_finish.lua) while a crowd reads the
# first page; how long the server takes from its start on the copy until it answers (a newer
# server migrates the database then); and its resident memory at the end. Figures are printed,
# never checked. run.sh beside this file is the quick benchmark on a small ladder.
#
#   bench/ladder/scale.sh DIR [--store postgres|sqlite|both] [--mode bare|front|both]
#                             [--duration 10s] [--ladderd PATH] [--seed-ladderd PATH] [--reseed]
#
#   bench/ladder/scale.sh /tmp/ladder-scale --ladderd build/release/bin/quillmark-ladderd \
#       --seed-ladderd /tmp/ladderd-v1             # seed with a version-1 server, measure another
#   PG_PLAYERS=1000 PG_GAMES=20000 SQLITE_PLAYERS=1000 SQLITE_GAMES=20000 \
#       bench/ladder/scale.sh /tmp/ladder-small    # the same at a small scale, seeded in seconds
#
# DIR keeps the seeded ladders, one folder per store and size (seed-postgres-1000000-20000000/
# with a PostgreSQL data folder, seed-sqlite-.../ with ladder.db), made by --seed-ladderd (default
# the server measured), which must create schema version 1: a later run copies them instead of
# seeding again (--reseed seeds anew). Each run works on a copy in DIR/run-STORE, removed at the
# end (KEEP_RUN=1 keeps it), and writes its table to DIR/results.txt as well.
#
# Environment: PG_PLAYERS, PG_GAMES, SQLITE_PLAYERS, SQLITE_GAMES (the sizes above);
# STANDINGS_CONNECTIONS (wrk connections reading, default 8); CYCLE_THREADS (players cycling,
# 1 to 8, default 4); SERVER_THREADS (the bare server's --threads, default 8); MAX_TIME (the
# longest one answer may take, default 60 s); SLOW (an answer slower than this many seconds is
# measured by a few requests one after another, at most 3 or for 60 s, instead of by wrk;
# default 0.5); START_TIMEOUT (seconds the server may take to answer after its start, default
# 3600); LADDER_STACK (the stack script, default deploy/ladder-stack.sh; another checkout's
# measures that checkout's front). Every load is bounded by --duration; the cycles' line also
# counts the finishes still unanswered when their load ended, which wrk leaves out. PostgreSQL
# runs as "nobody" when this runs as root, so DIR's parent folders must let others pass.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
stack_script=${LADDER_STACK:-$here/../../deploy/ladder-stack.sh}
seeder="$here/seed_ladder.py"

usage() {
    sed -n '2,/^set -e/{/^#/p}' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}
if [ $# -lt 1 ] || [[ $1 == -* ]]; then usage; fi
dir=$1
shift
stores="postgres sqlite"
modes="bare front"
duration=10s
ladderd=$here/../../build/release/bin/quillmark-ladderd
seed_ladderd=
reseed=0
while [ $# -gt 0 ]; do
    case $1 in
        --store) stores=${2/both/postgres sqlite}; shift 2 ;;
        --mode) modes=${2/both/bare front}; shift 2 ;;
        --duration) duration=$2; shift 2 ;;
        --ladderd) ladderd=$2; shift 2 ;;
        --seed-ladderd) seed_ladderd=$2; shift 2 ;;
        --reseed) reseed=1; shift ;;
        *) usage ;;
    esac
done
seed_ladderd=${seed_ladderd:-$ladderd}
standings_connections=${STANDINGS_CONNECTIONS:-8}
cycle_threads=${CYCLE_THREADS:-4}
server_threads=${SERVER_THREADS:-8}
max_time=${MAX_TIME:-60}
slow=${SLOW:-0.5}
start_timeout=${START_TIMEOUT:-3600}
password=bench-password
bench_users=8  # bench1 .. bench8, the players of start_finish.lua
if [ "$cycle_threads" -lt 1 ] || [ "$cycle_threads" -gt "$bench_users" ]; then
    echo "scale.sh: CYCLE_THREADS is 1 to $bench_users" >&2
    exit 2
fi
for binary in "$ladderd" "$seed_ladderd"; do
    [ -x "$binary" ] || { echo "scale.sh: no ladder server at $binary" >&2; exit 2; }
done
ladderd=$(realpath "$ladderd")
seed_ladderd=$(realpath "$seed_ladderd")
mkdir -p "$dir"
dir=$(realpath "$dir")
chmod 755 "$dir"  # PostgreSQL and nginx's workers may run as another user
results=$dir/results.txt

say() { echo "scale.sh: $*" >&2; }
die() {
    say "$*"
    exit 1
}
now() { echo "$EPOCHREALTIME"; }
since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }'; }

# A line of the table, printed and kept in results.txt: store, via, what, status, bytes, p50,
# p99, answers, how; or (note) store, via, what and one text.
row() { printf '%-8s %-6s %-26s %6s %11s %10s %10s %7s  %s\n' "$@" | tee -a "$results"; }
note() { printf '%-8s %-6s %-26s %s\n' "$@" | tee -a "$results"; }

# What is running now, for the trap: the bare server, stack folders, background loads.
server_pid=
stacks=()
loads=()
cleanup() {
    for load in "${loads[@]}"; do
        kill -TERM "$load" 2>/dev/null || true
    done
    stop_bare
    for stack in "${stacks[@]}"; do
        "$stack_script" stop --dir "$stack" --ladderd "$ladderd" >/dev/null 2>&1 || true
    done
    if [ "${KEEP_RUN:-0}" != 1 ]; then
        rm -rf "$dir"/run-*
    fi
    rm -rf "$dir"/*.partial
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The database of the stack folder $1 (for a folder with a PostgreSQL, its URL).
database_of() {
    if [ -d "$1/postgres" ]; then
        "$stack_script" database --dir "$1" --ladderd "$ladderd"
    else
        echo "$1/ladder.db"
    fi
}

# SQL $2 on the database $1, answered as unaligned tab-separated rows.
query() {
    if [[ $1 == postgresql:* ]]; then
        psql -X -q -v ON_ERROR_STOP=1 -At -F $'\t' "$1" -c "$2"
    else
        sqlite3 -bail -batch -separator $'\t' "$1" "$2"
    fi
}

schema_version() {
    if [[ $1 == postgresql:* ]]; then
        query "$1" "SELECT COALESCE(MAX(version), 0) FROM schema_version"
    else
        query "$1" "PRAGMA user_version"
    fi
}

# The standings of the version-1 tables, as the version-1 server orders them: rows of name,
# solved and best (empty when none).
standings_sql() {
    local collate=
    [ "$1" = postgres ] && collate=' COLLATE "C"'
    cat <<SQL
SELECT u.name, COUNT(*) FILTER (WHERE g.state = 'solved') AS solved,
       MIN(g.seconds) FILTER (WHERE g.state = 'solved') AS best
FROM users u JOIN games g ON g.user_id = u.id GROUP BY u.id
ORDER BY solved DESC, best NULLS LAST, u.name$collate
SQL
}

# Seeds the ladder of store $1 ($2 players, $3 games) into the folder $4: the seed server makes
# the database and the bench users, then the players and their games are loaded in bulk. Writes
# $4/seed.info (shell assignments: the key and name of players deep in the list, the counts).
seed() {
    local store=$1 players=$2 games=$3 out=$4
    local partial=$out.partial started
    rm -rf "$partial"
    mkdir -p "$partial/logs"
    chmod 755 "$partial"
    started=$(now)
    say "seeding $store: $players players, $games games into $out"
    if [ "$store" = postgres ]; then
        stacks+=("$partial")
        "$stack_script" postgres start --dir "$partial" --ladderd "$seed_ladderd"
    fi
    local database
    database=$(database_of "$partial")
    [ "$store" = sqlite ] || [[ $database == postgresql:* ]] || die "no PostgreSQL in $partial"
    for i in $(seq 1 "$bench_users"); do
        echo "$password" | "$seed_ladderd" user add "bench$i" --enabled --database "$database" \
            >/dev/null
    done
    local version
    version=$(schema_version "$database")
    [ "$version" = 1 ] || die "the seed server $seed_ladderd made schema version $version, not 1"
    local hash first_id
    hash=$(query "$database" "SELECT password_hash FROM users WHERE name = 'bench1'")
    first_id=$(($(query "$database" "SELECT MAX(id) FROM users") + 1))
    local gen=(python3 "$seeder" --players "$players" --games "$games" --first-id "$first_id"
        --hash "$hash")
    local user_columns="id, name, password_hash, email, enabled, created_at_ms"
    local game_columns="id, user_id, puzzle, solution, level, started_at_ms, state,"
    game_columns+=" finished_at_ms, seconds"
    local t
    if [ "$store" = postgres ]; then
        # The games' keys and indexes are dropped for the load and made again after it, by
        # sorting, with the same names and definitions (checked): much faster than 20 million
        # inserts into three indexes.
        local layout="SELECT conname || ' ' || pg_get_constraintdef(oid) FROM pg_constraint
                      WHERE conrelid = 'games'::regclass UNION ALL
                      SELECT indexdef FROM pg_indexes WHERE tablename = 'games' ORDER BY 1"
        local before
        before=$(query "$database" "$layout")
        query "$database" "ALTER TABLE games DROP CONSTRAINT games_pkey,
                               DROP CONSTRAINT games_user_id_fkey;
                           DROP INDEX games_by_user"
        t=$(now)
        "${gen[@]}" users | query "$database" "COPY users ($user_columns) FROM STDIN"
        say "  users: $(since "$t") s"
        t=$(now)
        "${gen[@]}" games | query "$database" "COPY games ($game_columns) FROM STDIN"
        say "  games: $(since "$t") s"
        t=$(now)
        psql -X -q -v ON_ERROR_STOP=1 "$database" >/dev/null <<SQL
SET maintenance_work_mem = '1GB';
ALTER TABLE games ADD CONSTRAINT games_pkey PRIMARY KEY (id);
CREATE INDEX games_by_user ON games (user_id, state);
ALTER TABLE games ADD CONSTRAINT games_user_id_fkey FOREIGN KEY (user_id) REFERENCES users (id);
SELECT setval(pg_get_serial_sequence('users', 'id'), (SELECT MAX(id) FROM users));
SQL
        [ "$(query "$database" "$layout")" = "$before" ] ||
            die "the games' keys and indexes came back different"
        say "  keys and indexes: $(since "$t") s"
        t=$(now)
        query "$database" "VACUUM (ANALYZE)"
        query "$database" "CHECKPOINT"
        say "  vacuum and analyze: $(since "$t") s"
    else
        local layout="SELECT sql FROM sqlite_master WHERE tbl_name = 'games' ORDER BY name"
        local before
        before=$(query "$database" "$layout")
        t=$(now)
        # Imported as text into scratch tables first: \N becomes NULL on the way in. The hash
        # holds no quote, the seeder's path none either.
        local pipe="python3 '$seeder' --players $players --games $games --first-id $first_id"
        pipe+=" --hash '$hash'"
        sqlite3 -bail -batch "$database" >/dev/null <<SQL
PRAGMA cache_size = -1000000;
PRAGMA foreign_keys = ON;
DROP INDEX games_by_user;
CREATE TEMP TABLE seed_users ($user_columns);
CREATE TEMP TABLE seed_games ($game_columns);
.mode tabs
.import "|$pipe users" seed_users
.import "|$pipe games" seed_games
BEGIN;
INSERT INTO users ($user_columns)
    SELECT id, name, password_hash, email, enabled = 't', created_at_ms FROM seed_users;
INSERT INTO games ($game_columns)
    SELECT id, user_id, puzzle, solution, level, started_at_ms, state,
           NULLIF(finished_at_ms, '\\N'), NULLIF(seconds, '\\N') FROM seed_games;
COMMIT;
CREATE INDEX games_by_user ON games (user_id, state);
PRAGMA wal_checkpoint(TRUNCATE);
SQL
        [ "$(query "$database" "$layout")" = "$before" ] ||
            die "the games' index came back different"
        say "  users and games: $(since "$t") s"
    fi
    local seeding
    seeding=$(since "$started")
    # The players a tenth from the end and in the middle of the standings: the deep page's
    # cursor and the player whose place is asked.
    t=$(now)
    local ranked deep middle
    ranked=$(query "$database" "SELECT COUNT(DISTINCT user_id) FROM games")
    deep=$(query "$database" "$(standings_sql "$store") LIMIT 1 OFFSET $((ranked * 9 / 10))")
    middle=$(query "$database" "$(standings_sql "$store") LIMIT 1 OFFSET $((ranked / 2))")
    local states places
    states=$(query "$database" "SELECT state || ' ' || COUNT(*) FROM games GROUP BY state
                                ORDER BY state" | paste -sd, -)
    places=$(query "$database" "SELECT COUNT(*) FROM (SELECT DISTINCT solved, best FROM
                                ($(standings_sql "$store")) AS s) AS p")
    local deep_name deep_solved deep_best middle_name
    IFS=$'\t' read -r deep_name deep_solved deep_best <<<"$deep"
    IFS=$'\t' read -r middle_name _ <<<"$middle"
    {
        echo "seed_store=$store"
        echo "seed_players=$players"
        echo "seed_games=$games"
        echo "seed_seconds=$seeding"
        echo "seed_ranked=$ranked"
        echo "seed_places=$places"
        echo "seed_states=${states@Q}"
        echo "deep_cursor=${deep_solved}.${deep_best}.${deep_name}"
        echo "deep_place=$((ranked * 9 / 10 + 1))"
        echo "middle_player=$middle_name"
        echo "middle_place=$((ranked / 2 + 1))"
    } >"$partial/seed.info"
    say "  players deep in the list: $(since "$t") s"
    if [ "$store" = postgres ]; then
        "$stack_script" postgres stop --dir "$partial" --ladderd "$seed_ladderd"
        unset 'stacks[-1]'
    fi
    rm -rf "$out"
    mv "$partial" "$out"
    say "seeded $store in $seeding s"
}

stop_bare() {
    if [ -n "$server_pid" ]; then
        kill -TERM "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
        server_pid=
    fi
}

# Starts the bare server on the database $1, logging into the folder $2; sets server_pid, url
# and start_seconds (from its start until it answers GET /healthz).
start_bare() {
    local database=$1 logs=$2 started
    started=$(now)
    "$ladderd" serve --port 0 --threads "$server_threads" --database "$database" \
        >"$logs/bare.out" 2>"$logs/bare.log" &
    server_pid=$!
    local deadline=$((SECONDS + start_timeout))
    until grep -q '^listening on ' "$logs/bare.out" 2>/dev/null; do
        kill -0 "$server_pid" 2>/dev/null ||
            die "the server did not start: $(tail -n 3 "$logs/bare.log")"
        [ $SECONDS -lt $deadline ] || die "the server did not listen within $start_timeout s"
        sleep 0.05
    done
    url="http://127.0.0.1:$(sed -n 's/^listening on .*:\([0-9]*\)$/\1/p' "$logs/bare.out")"
    until [ "$(curl -s -o /dev/null -w '%{http_code}' --max-time 10 "$url/healthz")" = 200 ]; do
        [ $SECONDS -lt $deadline ] || die "the server did not answer within $start_timeout s"
        sleep 0.05
    done
    start_seconds=$(since "$started")
}

# Waits until the ladder server $1 and the PostgreSQL of the stack folder $2 (if any) have been
# idle for a second, so one load's leftover work does not slow the next; at most 300 s.
settle() {
    local pids=("$1") ticks last='' quiet=0 deadline=$((SECONDS + 300)) waited=$SECONDS
    if [ -f "$2/postgres/postmaster.pid" ]; then
        local postmaster
        postmaster=$(head -n 1 "$2/postgres/postmaster.pid")
        mapfile -t -O 1 pids < <(echo "$1"; echo "$postmaster"; pgrep -P "$postmaster" || true)
    fi
    while [ $SECONDS -lt $deadline ]; do
        ticks=0
        for pid in "${pids[@]}"; do
            [ -r "/proc/$pid/stat" ] || continue
            ticks=$((ticks + $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0)))
        done
        if [ -n "$last" ] && [ $((ticks - last)) -le 2 ]; then
            quiet=$((quiet + 1))
            [ $quiet -ge 4 ] && break
        else
            quiet=0
        fi
        last=$ticks
        sleep 0.25
    done
    waited=$((SECONDS - waited))
    [ $waited -le 2 ] || say "  (waited $waited s for the server to settle)"
}

# Writes the wrk script that prints a load's p50 and p99 in milliseconds and its failures.
write_latency_lua() {
    cat >"$1" <<'LUA'
function done(summary, latency, requests)
    local e = summary.errors
    io.write(string.format("latency %d %.2f %.2f %d %d\n", summary.requests,
        latency:percentile(50) / 1000, latency:percentile(99) / 1000,
        e.status, e.connect + e.read + e.write + e.timeout))
end
LUA
}

# Writes the wrk script that runs start_finish.lua and also tells how many finishes were still
# unanswered when the load ended, and for how long: wrk counts only the answered ones, so a
# server stuck under the crowd would otherwise look fast.
write_cycles_lua() {
    cat >"$1" <<LUA
dofile("$here/start_finish.lua")
local ffi = require("ffi")
local stamp = ffi.new("bench_timespec")
local cycling = {}
local start_finish_setup, start_finish_done = setup, done
function setup(thread)
    start_finish_setup(thread)
    cycling[#cycling + 1] = thread
end
function done(summary, latency, requests)
    start_finish_done(summary, latency, requests)
    ffi.C.clock_gettime(1, stamp)
    local now = tonumber(stamp.tv_sec) * 1000 + tonumber(stamp.tv_nsec) / 1e6
    local waiting, oldest = 0, 0
    for _, thread in ipairs(cycling) do
        if thread:get("phase") == "finish" then
            waiting = waiting + 1
            oldest = math.max(oldest, now - thread:get("sent_at"))
        end
    end
    io.write(string.format("unanswered finishes: %d, the oldest %.0f ms\n", waiting, oldest))
end
LUA
}

# Measures GET $url$2 for the row labelled $1: p50 and p99 in ms, the answer's status and bytes.
# One request first; an answer faster than SLOW seconds is measured by wrk for the duration,
# a slower one by at most three requests one after another within 60 s.
measure() {
    local label=$1 path=$2 probe status bytes took
    probe=$(curl -s -o /dev/null -w '%{http_code} %{size_download} %{time_total}' \
        --max-time "$max_time" "${curl_tls[@]}" "$url$path" || true)
    read -r status bytes took <<<"${probe:-000 0 0}"
    local p50 p99 n how failures=0
    if [ "$status" = 000 ]; then
        p50=- p99=- n=0 how="no answer within $max_time s"
    elif awk -v t="$took" -v s="$slow" 'BEGIN { exit !(t < s) }'; then
        local line
        line=$(wrk -t2 -c"$standings_connections" -d"$duration" --timeout "${max_time}s" \
            -s "$latency_lua" "$url$path" | grep '^latency ' || echo "latency 0 - - 0 1")
        read -r _ n p50 p99 bad broken <<<"$line"
        failures=$((bad + broken))
        [ "$n" != 0 ] || p50=- p99=-
        how="wrk, $standings_connections connections, $duration"
    else
        local times=("$took") started=$SECONDS
        while [ ${#times[@]} -lt 3 ] && [ $((SECONDS - started)) -lt 60 ]; do
            probe=$(curl -s -o /dev/null -w '%{http_code} %{time_total}' \
                --max-time "$max_time" "${curl_tls[@]}" "$url$path" || true)
            read -r code took <<<"${probe:-000 0}"
            [ "$code" = "$status" ] || failures=$((failures + 1))
            times+=("$took")
        done
        n=${#times[@]}
        read -r p50 p99 < <(printf '%s\n' "${times[@]}" | sort -g | awk '
            { t[NR] = $1 * 1000 }
            END { printf "%.0f %.0f\n", t[int((NR + 1) / 2)], t[NR - int(NR / 100)] }')
        how="curl, one at a time"
    fi
    [ "$failures" = 0 ] || how+=", $failures failed"
    row "$store" "$mode" "$label" "$status" "$bytes" "$p50" "$p99" "$n" "$how"
    settle "$measured_pid" "$run"
}

# Every reading of the standings of one server (at $url), and the cycles under a crowd.
# shellcheck disable=SC2154  # deep_cursor and middle_player come from seed.info
measure_all() {
    local cursor=$deep_cursor player=$middle_player
    measure "json first page" "/v2/standings"
    measure "json deep (after=)" "/v2/standings?after=$cursor"
    measure "json player's place" "/v2/standings?player=$player"
    measure "html first page" "/standings"
    measure "html deep (after=)" "/standings?after=$cursor"
    measure "html player's place" "/standings?player=$player"

    local crowd_out=$run/crowd.out cycles
    wrk -t2 -c"$standings_connections" -d"$(($(seconds_of "$duration") + 2))s" \
        --timeout "${max_time}s" -s "$latency_lua" "$url/v2/standings" >"$crowd_out" 2>&1 &
    loads+=($!)
    sleep 1
    cycles=$(wrk -t"$cycle_threads" -c"$cycle_threads" -d"$duration" --timeout "${max_time}s" \
        -s "$cycles_lua" "$url" -- "$password")
    wait "${loads[-1]}" || true
    unset 'loads[-1]'
    local finish fp50 fp99 fn waiting oldest failed
    local number='\([0-9.]*\)'
    finish=$(sed -n "s/^finish latency ms: p50 $number.* p99 $number.*(n=$number).*/\\1 \\2 \\3/p" \
        <<<"$cycles")
    read -r fp50 fp99 fn <<<"${finish:-- - 0}"
    [ "$fn" != 0 ] || fp50=- fp99=-
    waiting=$(sed -n 's/^unanswered finishes: \([0-9]*\), the oldest \([0-9]*\) ms/\1 \2/p' \
        <<<"$cycles")
    read -r waiting oldest <<<"${waiting:-? 0}"
    failed=$(grep -o 'failures [0-9]*' <<<"$cycles" || echo 'no cycles')
    row "$store" "$mode" "finish, crowd reading" - - "$fp50" "$fp99" "$fn" \
        "$cycle_threads players; $failed, $waiting unanswered at the end (the oldest $oldest ms)"
    read -r _ cn cp50 cp99 cbad cbroken < <(grep '^latency ' "$crowd_out" ||
        echo "latency 0 - - 0 0")
    [ "$cn" != 0 ] || cp50=- cp99=-
    row "$store" "$mode" "  the crowd (first page)" - - "$cp50" "$cp99" "$cn" \
        "wrk, $standings_connections connections, $((cbad + cbroken)) failed"
    settle "$measured_pid" "$run"
    note "$store" "$mode" "server memory at the end" "$(awk '/^VmRSS/ { r = $2 } /^VmHWM/ { h = $2 }
        END { printf "%d MB (peak %d MB)", r / 1024, h / 1024 }' "/proc/$measured_pid/status")"
}

seconds_of() {
    case $1 in
        *m) echo $((${1%m} * 60)) ;;
        *s) echo "${1%s}" ;;
        *) echo "$1" ;;
    esac
}

latency_lua=$dir/latency.lua
write_latency_lua "$latency_lua"
cycles_lua=$dir/cycles.lua
write_cycles_lua "$cycles_lua"
echo "== $(date -u '+%F %T') UTC: $ladderd (seeded by $seed_ladderd), $(nproc) cores," \
    "$duration loads" | tee -a "$results"
row store via what status bytes "p50 ms" "p99 ms" n how

for store in $stores; do
    case $store in
        postgres) players=${PG_PLAYERS:-1000000} games=${PG_GAMES:-20000000} ;;
        sqlite) players=${SQLITE_PLAYERS:-100000} games=${SQLITE_GAMES:-2000000} ;;
        *) die "the store is postgres, sqlite or both, not $store" ;;
    esac
    seeded=$dir/seed-$store-$players-$games
    if [ "$reseed" = 1 ] || [ ! -f "$seeded/seed.info" ]; then
        seed "$store" "$players" "$games" "$seeded"
    fi
    # shellcheck source=/dev/null
    source "$seeded/seed.info"
    # shellcheck disable=SC2154  # seed.info assigns them
    echo "$store: $seed_players players ($seed_ranked in the standings, $seed_places places)," \
        "$seed_games games ($seed_states), seeded in $seed_seconds s; deep cursor" \
        "$deep_cursor (place $deep_place), player $middle_player (place $middle_place)" |
        tee -a "$results"

    run=$dir/run-$store
    rm -rf "$run"
    t=$(now)
    cp -a --reflink=auto "$seeded" "$run"
    rm -f "$run/seed.info"
    mkdir -p "$run/logs"
    say "copied the seeded $store ladder in $(since "$t") s"
    stacks+=("$run")
    if [ "$store" = postgres ]; then
        "$stack_script" postgres start --dir "$run" --ladderd "$ladderd"
    fi
    database=$(database_of "$run")

    # The first start on the copy: a newer server migrates it before it answers.
    mode=bare
    curl_tls=()
    before=$(schema_version "$database")
    start_bare "$database" "$run/logs"
    measured_pid=$server_pid
    note "$store" start "start until it answers" \
        "$start_seconds s (schema version $before, then $(schema_version "$database"))"
    settle "$measured_pid" "$run"
    if [[ " $modes " == *" bare "* ]]; then
        measure_all
    fi
    stop_bare

    if [[ " $modes " == *" front "* ]]; then
        mode=front
        store_option=(--database "$database")
        [ "$store" = postgres ] && store_option=(--postgres)
        started=$("$stack_script" start --dir "$run" --port 0 --servers 1 "${store_option[@]}" \
            --ladderd "$ladderd" --unlimited 127.0.0.1)
        url=$(sed -n 's/^url=//p' <<<"$started")
        curl_tls=(--cacert "$run/certs/ca.pem")
        measured_pid=$(cat "$run/run/ladderd-1.pid")
        settle "$measured_pid" "$run"
        measure_all
        "$stack_script" stop --dir "$run" --ladderd "$ladderd" >/dev/null 2>&1
    elif [ "$store" = postgres ]; then
        "$stack_script" postgres stop --dir "$run" --ladderd "$ladderd"
    fi
    unset 'stacks[-1]'
    [ "${KEEP_RUN:-0}" = 1 ] || rm -rf "$run"
done
