#!/usr/bin/env bash
# The deployment files as an operator puts them in place: the systemd units pass
# systemd-analyze verify in a scratch root holding the built server at /usr/bin, and the nginx
# site with its snippets passes nginx -t with a certificate made for the check. A missing tool
# fails the check, naming its package.
#
#   tests/deploy/check_deploy_files.sh path/to/quillmark-ladderd
set -euo pipefail

ladderd=${1:?usage: check_deploy_files.sh QUILLMARK_LADDERD}
deploy=$(cd "$(dirname "$0")/../../deploy" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

need() {
    command -v "$1" >/dev/null || [ -x "/usr/sbin/$1" ] || { echo "missing $1 (Debian package $2)" >&2; exit 1; }
}
need systemd-analyze systemd
need nginx nginx

# systemd: the units in a root of their own, beside the system's targets they name.
root=$scratch/root
mkdir -p "$root/usr/bin" "$root/etc/systemd/system" "$root/usr/lib/systemd/system"
cp "$ladderd" "$root/usr/bin/quillmark-ladderd"
cp "$deploy"/systemd/*.service "$deploy"/systemd/*.target "$root/etc/systemd/system/"
cp -a /lib/systemd/system/*.target "$root/usr/lib/systemd/system/"
output=$(systemd-analyze verify --man=no --root="$root" \
    quillmark-ladderd@8642.service quillmark-ladder.target 2>&1) || { echo "$output" >&2; exit 1; }
[ -z "$output" ] || { echo "systemd-analyze: $output" >&2; exit 1; }
# The server tells systemd when it is ready and that it is alive, and takes its database from
# the environment: a password in a URL on the command line would show in ps.
unit=$deploy/systemd/quillmark-ladderd@.service
for line in Type=notify NotifyAccess=main WatchdogSec=; do
    grep -q "^$line" "$unit" || { echo "$unit: no $line" >&2; exit 1; }
done
if grep -q '^ExecStart=.*--database' "$unit"; then
    echo "$unit: the database belongs in the environment, not on ExecStart" >&2
    exit 1
fi

# nginx: the site as /etc/nginx/sites-enabled/ holds it, its snippets beside it, the
# certificate paths pointed at a certificate made now.
prefix=$scratch/nginx
mkdir -p "$prefix/snippets" "$prefix/sites-enabled" "$prefix/logs"
cp "$deploy"/nginx/quillmark-zones.conf "$deploy"/nginx/quillmark-unlimited.conf \
    "$deploy"/nginx/quillmark-front.conf "$deploy"/nginx/quillmark-proxy.conf "$prefix/snippets/"
"$deploy/make-certificates.sh" "$prefix/certs" >/dev/null
sed -e "s|/etc/ssl/quillmark/|$prefix/certs/|" -e "s|/var/lib/nginx/quillmark-cache|$prefix/cache|" \
    "$deploy/nginx/quillmark-ladder.conf" \
    >"$prefix/sites-enabled/quillmark-ladder.conf"
cat >"$prefix/nginx.conf" <<CONF
pid $prefix/nginx.pid;
error_log $prefix/logs/error.log;
events {}
http {
    access_log off;
    include sites-enabled/*;
}
CONF
nginx -p "$prefix" -c "$prefix/nginx.conf" -t -q
echo "deployment files: systemd units and nginx site are valid"
