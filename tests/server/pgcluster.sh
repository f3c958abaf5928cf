#!/bin/sh
# The suite's own PostgreSQL server: a throw-away cluster in a short temporary folder, reached
# through its Unix socket only, so that clusters of parallel runs never meet.
#   pgcluster.sh start NOTE   starts one and writes its folder into the file NOTE
#   pgcluster.sh stop NOTE    stops the cluster NOTE names and removes its folder
# A cluster left by a killed run is stopped by its own folder and pg_ctl before a new start.
set -eu
action=$1
note=$2

. "$(dirname "$0")/pgbin.sh"

stop() {
    dir=$1
    if [ -d "$dir/data" ]; then
        as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
}

if [ -f "$note" ]; then
    old=$(cat "$note")
    case $old in
        /tmp/calvora-pg.*) stop "$old" ;;
    esac
    rm -f "$note"
fi
[ "$action" = stop ] && exit 0

# A database under a Turkish locale folds I to a dotless i: one test makes such a database.
# Debian's locales package holds the locale's source; making it needs root.
if ! locale -a 2>/dev/null | grep -qix 'tr_TR\.utf-\?8'; then
    localedef -i tr_TR -c -f UTF-8 tr_TR.UTF-8 2>/dev/null || echo "tr_TR.UTF-8 could not be made" >&2
fi

dir=$(mktemp -d /tmp/calvora-pg.XXXXXX)
echo "$dir" >"$note"
[ "$(id -u)" = 0 ] && chown postgres "$dir"
chmod 755 "$dir"
as_owner "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync \
    >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w start \
    -o "-c listen_addresses='' -k $dir -c fsync=off -c synchronous_commit=off -c max_connections=200" \
    >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
as_owner "$bindir/createdb" -h "$dir" -U postgres calvora
# The role the desks connect as, made as the README makes it: no superuser, no right to make
# databases or roles. Each test's database grants it what the README grants.
as_owner "$bindir/createuser" -h "$dir" -U postgres calvora
echo "PostgreSQL for the tests at $dir"
