#!/usr/bin/env bash
# The whole ladder on one machine, in one folder: nginx in front on TLS, with a certificate
# from a private authority made for it, and quillmark-ladderd behind it on loopback. For a
# newcomer who wants to play online against a ladder of their own, and for the tests.
#
#   deploy/ladder-stack.sh start [--dir DIR] [--port PORT] [--servers N] [--postgres]
#                                [--database FILE|URL] [--ladderd PATH] [--unlimited ADDRESS]...
#   deploy/ladder-stack.sh admin [--dir DIR] ARGS...     e.g. admin user add alice --enabled
#   deploy/ladder-stack.sh server K start|stop|kill [--dir DIR]
#   deploy/ladder-stack.sh postgres start|stop [--dir DIR]
#   deploy/ladder-stack.sh database [--dir DIR]       the database the servers share
#   deploy/ladder-stack.sh stop [--dir DIR]
#
# start makes DIR (default ~/.local/state/quillmark-ladder) with certs/, logs/, the database
# and nginx's configuration, starts N ladder servers (default 1) on free loopback ports and
# nginx on 127.0.0.1:PORT (default 8443; 0 picks a free one), and prints what the game needs:
#
#   url=https://127.0.0.1:8443
#   ca_file=DIR/certs/ca.pem
#   servers=127.0.0.1:40123
#
# Play with QUILLMARK_LADDER_URL=<url> QUILLMARK_LADDER_CA_FILE=<ca_file> build/release/bin/quillmark.
# --unlimited exempts a client address from nginx's per-client limits (for a load test).
# --postgres keeps the ladder in a PostgreSQL server of the stack's own, in DIR/postgres,
# reached through a Unix socket only (run as "nobody" when the stack runs as root, since
# PostgreSQL refuses root); every ladder server shares it. --database may instead name an
# SQLite file or any postgresql:// database. `server K` stops, kills (SIGKILL) or starts
# again the K-th ladder server on its port; `postgres` the stack's PostgreSQL.
# The certificate is made once and kept; the database too. stop ends nginx and the servers.
# The ladder's own options are in `quillmark-ladderd --help`; nginx's part is deploy/nginx/.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
command=${1:-}
shift || true

dir=${XDG_STATE_HOME:-$HOME/.local/state}/quillmark-ladder
port=8443
servers=1
database=
postgres=0
unlimited=
ladderd=${QUILLMARK_LADDERD:-$here/../build/release/bin/quillmark-ladderd}
admin_args=()
while [ $# -gt 0 ]; do
    case $1 in
        --dir) dir=$2; shift 2 ;;
        --port) port=$2; shift 2 ;;
        --servers) servers=$2; shift 2 ;;
        --database) database=$2; shift 2 ;;
        --ladderd) ladderd=$2; shift 2 ;;
        --unlimited) unlimited+=" $2"; shift 2 ;;
        --postgres) postgres=1; shift ;;
        *) admin_args+=("$1"); shift ;;
    esac
done
pg_data=$dir/postgres
# The database the servers share: the stack's PostgreSQL when it has one, else the option's, else
# an SQLite file.
if [ -z "$database" ] && { [ "$postgres" = 1 ] || [ -f "$pg_data/PG_VERSION" ]; }; then
    database="postgresql:///ladder?host=$pg_data&user=ladder"
fi
database=${database:-$dir/ladder.db}

die() {
    echo "ladder-stack: $*" >&2
    exit 1
}

# A TCP port on loopback that nothing listens on now.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

nginx_binary() {
    command -v nginx || { [ -x /usr/sbin/nginx ] && echo /usr/sbin/nginx; } ||
        die "nginx is not installed (Debian: apt-get install nginx)"
}

stop_stack() {
    if [ -f "$dir/run/nginx.pid" ]; then
        "$(nginx_binary)" -p "$dir" -c "$dir/nginx.conf" -s quit 2>/dev/null || true
    fi
    for pidfile in "$dir"/run/ladderd-*.pid; do
        [ -f "$pidfile" ] || continue
        kill -TERM "$(cat "$pidfile")" 2>/dev/null || true
    done
    # Both stop gracefully within a few seconds; wait for them, then be sure.
    for _ in $(seq 1 100); do
        alive=0
        for pidfile in "$dir"/run/*.pid; do
            [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null && alive=1
        done
        [ "$alive" -eq 0 ] && break
        sleep 0.1
    done
    for pidfile in "$dir"/run/*.pid; do
        [ -f "$pidfile" ] || continue
        kill -KILL "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    done
    stop_postgres
}

# Starts ladder server $1 on the port it was given when the stack started, and waits until it
# listens.
start_server() {
    local i=$1
    local out="$dir/run/ladderd-$i.out"
    [ -f "$dir/run/ladderd-$i.port" ] || die "the stack has no ladder server $i"
    : >"$out"
    setsid "$ladderd" serve --address 127.0.0.1 --port "$(cat "$dir/run/ladderd-$i.port")" \
        --trusted-proxy 127.0.0.1 --database "$(cat "$dir/run/database")" \
        >"$out" 2>>"$dir/logs/ladderd-$i.log" </dev/null &
    echo $! >"$dir/run/ladderd-$i.pid"
    for _ in $(seq 1 1000); do
        grep -q '^listening on ' "$out" && return 0
        kill -0 "$(cat "$dir/run/ladderd-$i.pid")" 2>/dev/null ||
            die "ladder server $i did not start: $(tail -n 3 "$dir/logs/ladderd-$i.log")"
        sleep 0.02
    done
    die "ladder server $i did not start listening"
}

# Stops ladder server $1 with signal $2; one that has not ended 10 s later is killed, so its
# port is free for the next start.
stop_server() {
    local pidfile="$dir/run/ladderd-$1.pid" signal=$2
    [ -f "$pidfile" ] || return 0
    local pid
    pid=$(cat "$pidfile")
    kill "-$signal" "$pid" 2>/dev/null || true
    for _ in $(seq 1 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$pidfile"
}

start_servers() {
    local addresses=""
    for i in $(seq 1 "$servers"); do
        free_port >"$dir/run/ladderd-$i.port"
        start_server "$i"
        addresses+="${addresses:+,}127.0.0.1:$(cat "$dir/run/ladderd-$i.port")"
    done
    echo "$addresses"
}

# The stack's PostgreSQL runs as this user, or as nobody for root.
as_postgres_user() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u nobody -- "$@"
    else
        "$@"
    fi
}

postgres_bin() {
    local bin
    bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    [ -x "$bin/postgres" ] || die "PostgreSQL is not installed (Debian: apt-get install postgresql)"
    echo "$bin"
}

start_postgres() {
    local bin
    bin=$(postgres_bin)
    if [ ! -f "$pg_data/PG_VERSION" ]; then
        mkdir -p "$pg_data"
        [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$pg_data"
        as_postgres_user test -x "$pg_data" ||
            die "PostgreSQL's user cannot reach $pg_data: let others pass its parent folders (chmod o+x)"
        chmod 700 "$pg_data"
        as_postgres_user "$bin/initdb" -D "$pg_data" --username ladder --auth trust \
            --encoding UTF8 --no-locale >"$dir/logs/postgres-init.log" 2>&1 ||
            die "initdb failed: $(tail -n 3 "$dir/logs/postgres-init.log")"
        local made=1
    fi
    touch "$dir/logs/postgres.log"
    [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$dir/logs/postgres.log"
    # Only a Unix socket, in the data folder; no TCP at all.
    as_postgres_user "$bin/pg_ctl" -D "$pg_data" -l "$dir/logs/postgres.log" -w -t 60 \
        -o "-c listen_addresses= -c unix_socket_directories=$pg_data" start >/dev/null ||
        die "PostgreSQL did not start: $(tail -n 3 "$dir/logs/postgres.log")"
    if [ -n "${made:-}" ]; then
        as_postgres_user "$bin/createdb" -h "$pg_data" -U ladder ladder ||
            die "could not make the ladder's database"
    fi
}

stop_postgres() {
    [ -f "$pg_data/postmaster.pid" ] || return 0
    as_postgres_user "$(postgres_bin)/pg_ctl" -D "$pg_data" -m fast -w stop >/dev/null 2>&1 || true
}

write_nginx_conf() {
    local addresses=$1
    mkdir -p "$dir/snippets"
    cp "$here"/nginx/quillmark-*.conf "$dir/snippets/"
    rm -f "$dir/snippets/quillmark-ladder.conf"
    for address in $unlimited; do
        echo "$address \"\";" >>"$dir/snippets/quillmark-unlimited.conf"
    done
    {
        echo "# Made by deploy/ladder-stack.sh; made again at every start."
        echo "worker_processes auto;"
        echo "pid $dir/run/nginx.pid;"
        echo "error_log $dir/logs/nginx-error.log warn;"
        echo "events { worker_connections 4096; }"
        echo "http {"
        echo "    default_type application/octet-stream;"
        echo "    access_log $dir/logs/nginx-access.log;"
        for kind in client_body proxy fastcgi uwsgi scgi; do
            echo "    ${kind}_temp_path $dir/tmp/$kind;"
        done
        echo "    include snippets/quillmark-zones.conf;"
        # The standings' cache, as quillmark-ladder.conf has it, in the stack's folder.
        echo "    proxy_cache_path $dir/tmp/cache levels=1:2 keys_zone=quillmark_cache:10m max_size=64m inactive=1m use_temp_path=off;"
        echo "    upstream quillmark_ladder {"
        echo "        least_conn;"
        local IFS=,
        for address in $addresses; do
            echo "        server $address max_fails=1 fail_timeout=2s;"
        done
        echo "        keepalive 32;"
        echo "    }"
        echo "    server {"
        echo "        listen 127.0.0.1:$port ssl;"
        echo "        ssl_certificate $dir/certs/server.pem;"
        echo "        ssl_certificate_key $dir/certs/server.key;"
        echo "        include snippets/quillmark-front.conf;"
        echo "    }"
        echo "}"
    } >"$dir/nginx.conf"
}

case $command in
    start)
        [ -x "$ladderd" ] || die "no ladder server at $ladderd (build it, or give --ladderd)"
        stop_stack 2>/dev/null || true
        mkdir -p "$dir/run" "$dir/logs" "$dir/tmp"
        # nginx's workers may run as another user than its master: they need to get in.
        chmod 755 "$dir" "$dir/tmp"
        [ -f "$dir/certs/server.pem" ] || "$here/make-certificates.sh" "$dir/certs" >/dev/null
        [ "$port" = 0 ] && port=$(free_port)
        if [ "$postgres" = 1 ] || [ -f "$pg_data/PG_VERSION" ]; then
            start_postgres
        fi
        echo "$database" >"$dir/run/database"
        addresses=$(start_servers)
        write_nginx_conf "$addresses"
        nginx=$(nginx_binary)
        "$nginx" -p "$dir" -c "$dir/nginx.conf" -t 2>"$dir/logs/nginx-test.log" ||
            { stop_stack; die "nginx refused its configuration: $(cat "$dir/logs/nginx-test.log")"; }
        "$nginx" -p "$dir" -c "$dir/nginx.conf" 2>>"$dir/logs/nginx-error.log" ||
            { stop_stack; die "nginx did not start: $(tail -n 3 "$dir/logs/nginx-error.log")"; }
        echo "url=https://127.0.0.1:$port"
        echo "ca_file=$dir/certs/ca.pem"
        echo "servers=$addresses"
        ;;
    admin)
        [ -x "$ladderd" ] || die "no ladder server at $ladderd (build it, or give --ladderd)"
        [ -f "$dir/run/database" ] && database=$(cat "$dir/run/database")
        exec "$ladderd" "${admin_args[@]}" --database "$database"
        ;;
    server)
        [ "${#admin_args[@]}" -eq 2 ] || die "usage: server K start|stop|kill"
        case ${admin_args[1]} in
            start) start_server "${admin_args[0]}" ;;
            stop) stop_server "${admin_args[0]}" TERM ;;
            kill) stop_server "${admin_args[0]}" KILL ;;
            *) die "usage: server K start|stop|kill" ;;
        esac
        ;;
    postgres)
        case ${admin_args[0]:-} in
            start) start_postgres ;;
            stop) stop_postgres ;;
            *) die "usage: postgres start|stop" ;;
        esac
        ;;
    database)
        [ -f "$dir/run/database" ] && database=$(cat "$dir/run/database")
        echo "$database"
        ;;
    stop)
        stop_stack
        ;;
    *)
        sed -n '2,/^set -e/{/^#/p}' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
        [ -z "$command" ] || exit 2
        ;;
esac
