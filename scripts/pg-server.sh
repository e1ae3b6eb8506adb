#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, kept entirely inside one folder.
#
#   scripts/pg-server.sh start DIR [OWNER_PID]
#       Creates a fresh cluster in DIR (empty, or used by this script before),
#       starts it on 127.0.0.1 on a free port and writes DIR/env, to be sourced:
#         export PGHOST=127.0.0.1 PGPORT=<port> PGUSER=vosmira PGDATABASE=postgres
#       Role vosmira is a superuser, no password (trust). With OWNER_PID the
#       server is also stopped once that process ends, so a killed test run
#       leaves no server behind.
#   scripts/pg-server.sh stop DIR
#       Stops it, its data kept. Safe to call twice, or after a start that failed halfway.
#   scripts/pg-server.sh restart DIR [OWNER_PID]
#       Starts the server of DIR again, with the data and the port it had, as an
#       office's server comes back after a reboot. Stops it first if it runs.
#
# No system service is touched. initdb and postgres refuse to run as root: as
# root they run as the postgres system user, which then owns DIR.
# PG_BINDIR overrides where initdb, pg_ctl and postgres are taken from;
# VOSMIRA_PG_PORT is the port tried first.
set -euo pipefail

die()
{
    echo "pg-server: $*" >&2
    exit 1
}

usage()
{
    echo "usage: $0 start DIR [OWNER_PID] | stop DIR | restart DIR [OWNER_PID]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
command=$1
dir=$2
owner=${3:-}
[ -n "$dir" ] || usage
self=$(cd "$(dirname "$0")" && pwd -P)/$(basename "$0")
if [ "$command" = stop ] && [ ! -d "$dir" ]; then
    exit 0
fi
mkdir -p "$dir"
dir=$(cd "$dir" && pwd -P)
data=$dir/data
marker=$dir/.vosmira-pg-server

bindir=${PG_BINDIR:-}
if [ -z "$bindir" ]; then
    # The newest installed major version.
    for candidate in $(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V); do
        if [ -x "$candidate/initdb" ]; then bindir=$candidate; fi
    done
fi
[ -x "$bindir/pg_ctl" ] ||
    die "no PostgreSQL server found under /usr/lib/postgresql (install Debian's postgresql package)"

as_server_user=()
if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || die "running as root, but there is no postgres user to run the server as"
    as_server_user=(runuser -u postgres --)
fi

# Runs a server program as the user the cluster belongs to, from DIR so that a
# working folder it cannot enter does not trouble it.
server_cmd()
{
    (cd "$dir" && "${as_server_user[@]}" "$@")
}

# The postmaster's pid when a server of this cluster is running, else nothing.
running_pid()
{
    [ -f "$data/postmaster.pid" ] || return 0
    local pid
    pid=$(head -n 1 "$data/postmaster.pid" 2>/dev/null) || return 0
    [[ "$pid" =~ ^[0-9]+$ ]] || return 0
    # A pid left by a killed server may since belong to another process.
    [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "-D $data" && echo "$pid"
    return 0
}

stop_server()
{
    local pid
    pid=$(running_pid)
    if [ -n "$pid" ]; then
        server_cmd "$bindir/pg_ctl" stop -D "$data" -m fast -w -t 30 >/dev/null 2>&1 ||
            server_cmd "$bindir/pg_ctl" stop -D "$data" -m immediate -w -t 30 >/dev/null 2>&1 ||
            kill -KILL "$pid" 2>/dev/null || true
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$pid" 2>/dev/null && die "the server in $dir (pid $pid) did not stop"
    fi
    rm -f "$dir/env"
    return 0
}

port_in_use()
{
    [ -n "$(ss -Htln "sport = :$1" 2>/dev/null)" ]
}

# Starts the cluster's server on port $1; on success watches the owner and writes DIR/env.
launch()
{
    local port=$1
    server_cmd "$bindir/pg_ctl" start -D "$data" -l "$dir/log" -w -t 60 -o "-p $port" >/dev/null 2>&1 || return 1
    if [ -n "$owner" ]; then
        # Detached from every stream the caller waits on (ctest waits for its pipes to close).
        # It watches this postmaster only: a later server in DIR is not its business.
        # shellcheck disable=SC2016
        setsid bash -c 'while kill -0 "$1" && kill -0 "$4"; do sleep 2; done 2>/dev/null
            kill -0 "$4" 2>/dev/null && exec "$2" stop "$3"' watch "$owner" "$self" "$dir" "$(running_pid)" \
            </dev/null >"$dir/watch.log" 2>&1 &
    fi
    echo "$port" >"$dir/port"
    echo "export PGHOST=127.0.0.1 PGPORT=$port PGUSER=vosmira PGDATABASE=postgres" >"$dir/env.tmp"
    mv "$dir/env.tmp" "$dir/env"
}

restart_server()
{
    if [ ! -e "$marker" ] || [ ! -f "$data/PG_VERSION" ] || [ ! -f "$dir/port" ]; then
        die "there is no server made by this script in $dir to start again"
    fi
    stop_server
    local port
    port=$(cat "$dir/port")
    # The desks are told this port: another one would not do.
    port_in_use "$port" && die "port $port, the server's in $dir, is now taken by another program"
    launch "$port" || {
        [ -f "$dir/log" ] && tail -n 20 "$dir/log" >&2
        die "the server in $dir did not start again"
    }
}

start_server()
{
    if [ ! -e "$marker" ] && [ -n "$(ls -A "$dir")" ]; then
        die "$dir is not empty and was not made by this script; give an empty folder"
    fi
    # The socket lives in DIR; its path must fit a unix socket address.
    [ ${#dir} -le 90 ] || die "$dir is too long a path for the server's socket; give a shorter one"
    touch "$marker"
    rm -f "$dir/env"

    # Whatever an earlier run left here, a killed one included, goes.
    stop_server
    rm -rf "$data" "$dir/log" "$dir/watch.log" "$dir/port" "$dir"/.s.PGSQL.*

    if [ ${#as_server_user[@]} -gt 0 ]; then
        chown postgres: "$dir" "$marker"
        runuser -u postgres -- test -w "$dir" ||
            die "the postgres user cannot reach $dir (a folder above it is closed to others); choose one under /tmp"
    fi

    local locale_args=(--no-locale --encoding=UTF8)
    # Code-point order, but upper() and lower() that know accented letters.
    locale -a 2>/dev/null | grep -qix 'c\.utf-\?8' && locale_args=(--encoding=UTF8 --lc-collate=C --lc-ctype=C.UTF-8 --lc-messages=C --lc-monetary=C --lc-numeric=C --lc-time=C)
    server_cmd "$bindir/initdb" -D "$data" -U vosmira --auth=trust "${locale_args[@]}" --no-sync --no-instructions \
        >"$dir/initdb.log" 2>&1 || {
        cat "$dir/initdb.log" >&2
        die "initdb failed in $dir"
    }

    # Durability is worth nothing here: the cluster is thrown away after the run.
    cat >>"$data/postgresql.conf" <<EOF

# pg-server.sh: a throw-away test server
listen_addresses = '127.0.0.1'
unix_socket_directories = '$dir'
fsync = off
synchronous_commit = off
full_page_writes = off
wal_level = minimal
max_wal_senders = 0
max_wal_size = 1GB
checkpoint_timeout = 1h
jit = off
shared_buffers = 64MB
logging_collector = off
EOF

    local port=${VOSMIRA_PG_PORT:-}
    for _ in $(seq 20); do
        # Below the kernel's range for outgoing connections, so a port found free stays free.
        [ -n "$port" ] || port=$((20000 + RANDOM % 12000))
        if port_in_use "$port"; then
            port=
            continue
        fi
        launch "$port" && return 0
        # Another server may have taken the port between the look and the start.
        stop_server
        grep -qiE 'could not (bind|create any TCP)|address already in use' "$dir/log" 2>/dev/null || break
        rm -f "$dir/log"
        port=
    done
    [ -f "$dir/log" ] && tail -n 20 "$dir/log" >&2
    die "the server in $dir did not start"
}

case $command in
start) start_server ;;
stop) stop_server ;;
restart) restart_server ;;
*) usage ;;
esac
