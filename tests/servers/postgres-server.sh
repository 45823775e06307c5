#!/bin/bash
# Starts (or stops) a private PostgreSQL server for the tests, on a free
# loopback port, with its data in FOLDER:
#
#   postgres-server.sh start FOLDER    writes FOLDER/connection.txt
#   postgres-server.sh stop FOLDER
#
# connection.txt holds one line per key: Host, Port, Database, User ID,
# Password. Without PostgreSQL's server programs it writes nothing and
# succeeds, and the tests that need the server skip.
set -u
action=${1:?start or stop}
folder=${2:?folder}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -z "$bindir" ] || [ ! -x "$bindir/pg_ctl" ]; then
    echo "PostgreSQL server programs not installed: tests against PostgreSQL will skip"
    rm -f "$folder/connection.txt"
    exit 0
fi

# The server refuses to run as root; run it as the postgres account then.
as_server() {
    if [ "$(id -u)" = 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$action" in
stop)
    if [ -f "$folder/connection.txt" ]; then
        server=$(sed -n 's/^Server=//p' "$folder/connection.txt")
        if [ -n "$server" ] && [ -f "$server/data/postmaster.pid" ]; then
            as_server "$bindir/pg_ctl" -D "$server/data" -m immediate -w stop >/dev/null 2>&1
        fi
        [ -n "$server" ] && rm -rf "$server"
    fi
    rm -f "$folder/connection.txt"
    exit 0
    ;;
start) ;;
*) echo "usage: $0 start|stop FOLDER" >&2; exit 2 ;;
esac

"$0" stop "$folder"
mkdir -p "$folder"
# The server's own folder lies where its account can reach it, whatever the
# permissions of the build folder's parents.
server=$(mktemp -d /tmp/krml-postgres.XXXXXX)
chmod 755 "$server"
[ "$(id -u)" = 0 ] && chown postgres "$server"
data="$server/data"

port=""
for p in $(seq 54329 54429); do
    if ! (exec 3<>/dev/tcp/127.0.0.1/$p) 2>/dev/null; then
        port=$p
        break
    fi
done
[ -n "$port" ] || { echo "no free port for the PostgreSQL server" >&2; exit 1; }

password=krml-secret
echo "$password" > "$server/pwfile"
[ "$(id -u)" = 0 ] && chown postgres "$server/pwfile"
as_server "$bindir/initdb" -D "$data" -U krml --pwfile="$server/pwfile" -A scram-sha-256 \
    --locale=C -E UTF8 >"$server/initdb.log" 2>&1 || { cat "$server/initdb.log" >&2; exit 1; }
as_server "$bindir/pg_ctl" -D "$data" -l "$server/server.log" -w -t 60 \
    -o "-h 127.0.0.1 -p $port -k $server -c fsync=off -c full_page_writes=off" start >/dev/null ||
    { cat "$server/server.log" >&2; exit 1; }
PGPASSWORD=$password "$bindir/psql" -h 127.0.0.1 -p "$port" -U krml -d postgres -q \
    -c "CREATE DATABASE krml_test" >/dev/null || exit 1
cat > "$folder/connection.txt" <<INFO
Host=127.0.0.1
Port=$port
Database=krml_test
User ID=krml
Password=$password
Server=$server
Bin=$bindir
INFO
echo "PostgreSQL $($bindir/postgres --version | awk '{print $3}') on 127.0.0.1:$port"
