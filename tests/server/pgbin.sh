# Sourced by the suite's server scripts: PostgreSQL's programs ($bindir), and as_owner, which
# runs one of them in the folder $dir as the owner of the clusters (initdb refuses root: the
# clusters then belong to the postgres user).
bindir=$(pg_config --bindir 2>/dev/null || true)
[ -x "$bindir/initdb" ] || bindir=/usr/lib/postgresql/15/bin
if [ ! -x "$bindir/initdb" ]; then
    echo "PostgreSQL's initdb was not found (install the package postgresql)" >&2
    exit 1
fi

as_owner() {
    if [ "$(id -u)" = 0 ]; then
        (cd "$dir" && runuser -u postgres -- "$@")
    else
        (cd "$dir" && "$@")
    fi
}
