#!/usr/bin/env bash
# The Debian package as a workstation gets it: lintian finds no error, the menu entry and the
# AppStream metadata validate, it holds exactly the expected files with their modes, and its
# libraries come from what the program links. Unpacked into a temporary root, its own
# database step makes the shared file there; the unpacked program, started as a member of the
# file's group, logs in and writes to that file; the step run again (an upgrade) keeps what
# was written; someone outside the group gets a message and no crash; removing keeps the file
# and purging deletes it. Argument: the package.
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib/session.sh"

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6, $7, $8 }' | sed 's/ *$//' |
  LC_ALL=C sort >"$work/contents"
diff -u <(LC_ALL=C sort "$here/contents.txt") "$work/contents" || fail "the package's files differ"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsqlcipher0 libsodium23 libqt6widgets6 libqt6svg6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop entry invalid"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml || fail "AppStream metadata invalid"

# The program follows its absolute link to /var/lib/pelmoran-todo: it runs in a mount namespace
# of its own where that folder is the temporary root's, as nobody, in or outside the group
# "users" (root would pass any permission). That takes root; a user only gets the checks above.
[ "$(id -u)" -eq 0 ] || { echo "package: the unpacked program's checks need root; skipped"; exit 0; }
unshare --mount true 2>/dev/null ||
  { echo "package: no mount namespaces here; the unpacked program's checks skipped"; exit 0; }
chmod 0755 "$work"
in_root() { # setpriv options...
  unshare --mount --propagation private sh -c 'mount -t tmpfs tmpfs /var/lib &&
    mkdir /var/lib/pelmoran-todo && mount --bind "$0" /var/lib/pelmoran-todo &&
    exec "$@"' "$root/var/lib/pelmoran-todo" \
    setpriv --reuid=nobody --regid=nogroup "$@" "$root/usr/bin/pelmoran-todo" >"$work/log" 2>&1 &
  app_pid=$!
}
DPKG_ROOT="$root" "$root/usr/lib/pelmoran-todo/setup-database" users
database="$root/var/lib/pelmoran-todo/Main.mdb"
[ "$(stat -c '%a %G' "$(dirname "$database")")" = "2770 users" ] || fail "the folder's mode or group"
[ "$(stat -c '%a %G' "$database")" = "660 users" ] || fail "the file's mode or group"

in_root --groups=users
log_in_as_admin
click_in "$main_window" 76 164
wait_for_windows "Add Group" 1 || fail "Add New Group did not open its window"
add_group=$(xdotool search --onlyvisible --name "^Add Group\$" | head -1)
type_into "$add_group" "Shared"
key Return Return
answer_box "Add Group" "$add_group" Return
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""
[ "$(sql 'SELECT GroupName FROM tblGroups WHERE GroupID=2;')" = Shared ] ||
  fail "the group was not written to $database"

DPKG_ROOT="$root" "$root/usr/lib/pelmoran-todo/setup-database" users
[ "$(sql 'SELECT COUNT(*) FROM tblGroups;')" = 2 ] || fail "the step run again replaced the file"

in_root --clear-groups
wait_for_windows "Tallyboard" 1 || fail "no message for someone outside the group"
[ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/outside-group.png"
xdotool windowfocus "$(xdotool search --onlyvisible --name '^Tallyboard$' | head -1)" || true
key Return
for _ in $(seq 1 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after the message"
wait "$app_pid" && status=0 || status=$?
app_pid=""
[ "$status" -eq 1 ] || fail "the program ended with status $status, not the error status 1"

dpkg-deb -e "$deb" "$work/control"
DPKG_ROOT="$root" "$work/control/postrm" remove
[ -f "$database" ] || fail "removing the package deleted the database"
DPKG_ROOT="$root" "$work/control/postrm" purge
[ ! -e "$(dirname "$database")" ] || fail "purging left the database"
echo "package: passed"
