#!/bin/sh
# A practice server with a streaming standby, for the tests and the benchmark that take the
# primary away: two throw-away clusters in one short temporary folder, each reached through
# its own Unix socket only (FOLDER/a and FOLDER/b, each holding its cluster in data/), the
# standby made with pg_basebackup -R and fed over the primary's socket by a replication role.
#   pgstandby.sh start [sync]   starts a primary on a and a standby on b; prints the folder.
#                               sync: the primary commits only what the standby holds too
#   pgstandby.sh fail FOLDER    stops the primary at once (pg_ctl stop -m immediate) and
#                               promotes the standby; prints the socket of the new primary
#   pgstandby.sh rebuild FOLDER makes the stopped cluster the new primary's standby
#   pgstandby.sh stop FOLDER    stops both and removes the folder
# Both hold the database calvora, whose schema calvora belongs to the practice's role calvora
# (no superuser, no right to make databases or roles), as the README sets a practice up.
set -eu
action=$1

. "$(dirname "$0")/pgbin.sh"

sql() {  # sql NODE TEXT: one value, as the administrator
    as_owner "$bindir/psql" -h "$dir/$1" -U postgres -d postgres -XAtqc "$2"
}

options() {  # the server's settings for the node NODE
    echo "-c listen_addresses='' -k $dir/$1 -c fsync=off -c synchronous_commit=on -c max_connections=100 -c wal_level=replica -c max_wal_senders=4 -c hot_standby=on -c wal_receiver_status_interval=1"
}

start_node() {
    as_owner "$bindir/pg_ctl" -D "$dir/$1/data" -l "$dir/$1/server.log" -w -t 60 start -o "$(options "$1")" \
        >/dev/null || { cat "$dir/$1/server.log" >&2; exit 1; }
}

primary_of() {
    for n in a b; do
        if [ "$(sql $n 'SELECT pg_is_in_recovery()' 2>/dev/null || true)" = f ]; then
            echo $n
            return
        fi
    done
    echo "no primary answers in $dir" >&2
    exit 1
}

# Makes NODE the streaming standby of the primary PRIMARY and waits until it streams; in sync
# mode the primary then waits for it at each commit (set only now, so that a standby never
# inherits it: promoted, it would wait for a standby of its own that is not there).
make_standby() {
    node=$1 primary=$2
    rm -rf "$dir/$node/data"
    sql "$primary" "ALTER SYSTEM RESET synchronous_standby_names" >/dev/null
    sql "$primary" "SELECT pg_reload_conf()" >/dev/null
    as_owner "$bindir/pg_basebackup" -h "$dir/$primary" -U calvora_replica -D "$dir/$node/data" -R -X stream \
        --no-sync -c fast >"$dir/$node/basebackup.log" 2>&1 || { cat "$dir/$node/basebackup.log" >&2; exit 1; }
    start_node "$node"
    tries=0
    until [ "$(sql "$primary" "SELECT count(*) FROM pg_stat_replication WHERE state = 'streaming'")" = 1 ]; do
        tries=$((tries + 1))
        [ $tries -lt 300 ] || { echo "the standby $node does not stream" >&2; exit 1; }
        sleep 0.1
    done
    if [ -f "$dir/sync" ]; then
        sql "$primary" "ALTER SYSTEM SET synchronous_standby_names = '*'" >/dev/null
        sql "$primary" "SELECT pg_reload_conf()" >/dev/null
        tries=0
        until [ "$(sql "$primary" "SELECT count(*) FROM pg_stat_replication WHERE sync_state = 'sync'")" = 1 ]; do
            tries=$((tries + 1))
            [ $tries -lt 300 ] || { echo "the standby $node is not synchronous" >&2; exit 1; }
            sleep 0.1
        done
    fi
}

case $action in
start)
    dir=$(mktemp -d /tmp/calvora-pgs.XXXXXX)
    mkdir "$dir/a" "$dir/b"
    [ "${2:-}" = sync ] && touch "$dir/sync"
    [ "$(id -u)" = 0 ] && chown -R postgres "$dir"
    chmod 755 "$dir" "$dir/a" "$dir/b"
    as_owner "$bindir/initdb" -D "$dir/a/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync \
        >"$dir/a/initdb.log" 2>&1 || { cat "$dir/a/initdb.log" >&2; exit 1; }
    start_node a
    sql a "CREATE ROLE calvora_replica REPLICATION LOGIN" >/dev/null
    sql a "CREATE ROLE calvora LOGIN" >/dev/null
    sql a "CREATE DATABASE calvora TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8'" >/dev/null
    sql a "REVOKE ALL ON DATABASE calvora FROM PUBLIC; GRANT CONNECT, TEMPORARY ON DATABASE calvora TO calvora" >/dev/null
    as_owner "$bindir/psql" -h "$dir/a" -U postgres -d calvora -XAtqc \
        "CREATE SCHEMA calvora AUTHORIZATION calvora; CREATE EXTENSION IF NOT EXISTS pg_trgm" >/dev/null
    make_standby b a
    echo "$dir"
    ;;
fail)
    dir=$2
    primary=$(primary_of)
    if [ "$primary" = a ]; then standby=b; else standby=a; fi
    as_owner "$bindir/pg_ctl" -D "$dir/$primary/data" -m immediate stop >/dev/null
    as_owner "$bindir/pg_ctl" -D "$dir/$standby/data" -w -t 60 promote >/dev/null
    echo "$dir/$standby"
    ;;
rebuild)
    dir=$2
    primary=$(primary_of)
    if [ "$primary" = a ]; then standby=b; else standby=a; fi
    make_standby "$standby" "$primary"
    ;;
stop)
    dir=$2
    case $dir in
        /tmp/calvora-pgs.*) ;;
        *) echo "not a folder of this script: $dir" >&2; exit 1 ;;
    esac
    for n in a b; do
        [ -d "$dir/$n/data" ] && as_owner "$bindir/pg_ctl" -D "$dir/$n/data" -m immediate stop >/dev/null 2>&1 || true
    done
    rm -rf "$dir"
    ;;
*)
    echo "usage: pgstandby.sh start [sync] | fail FOLDER | rebuild FOLDER | stop FOLDER" >&2
    exit 2
    ;;
esac
