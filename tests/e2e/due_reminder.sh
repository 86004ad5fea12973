#!/usr/bin/env bash
# The desktop reminder of what is due, shown by a real notification server (dunst) on a
# session bus of this test's own: an account with nothing due logs in and gets no
# notification, although another account's to-do is due today; then the default account logs
# in and gets exactly one, naming its to-do as typed, whose action brings the main window
# forward. Arguments: the program, the tool that
# makes the database. Exits 77 (skipped) where dunst or dbus-run-session is missing.
set -euo pipefail
program="$1"
make_database="$2"

if ! command -v dunst >/dev/null || ! command -v dunstctl >/dev/null ||
   ! command -v dbus-run-session >/dev/null; then
  echo "due_reminder: skipped (dunst or dbus-run-session missing)"
  exit 77
fi
if [ -z "${PELMORAN_OWN_BUS:-}" ]; then
  PELMORAN_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$(dirname "$0")/lib/session.sh"

# The server reads its settings from the test's folder, never from the machine's user; it
# reads bodies as markup, so a name's "<b>" and "&" show as typed only if the program escapes
# them.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/dunst"
printf '[global]\n    markup = full\n' >"$XDG_CONFIG_HOME/dunst/dunstrc"
dunst >"$work/dunst.log" 2>&1 &
dunst_pid=$!
trap 'kill $dunst_pid 2>/dev/null || true; cleanup' EXIT
# Asked without starting the service: the bus would start a second server of its own, one
# without the display.
serving() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications 2>/dev/null |
    grep -q true
}
for _ in $(seq 1 100); do serving && break; sleep 0.1; done
serving || { cat "$work/dunst.log" >&2; fail "dunst did not start"; }

# Notifications shown, then closed so that the history lists them: summary and body, one a line.
history() {
  dunstctl close-all
  sleep 0.3
  dunstctl history | python3 -c '
import json, sys
for n in json.load(sys.stdin)["data"][0]:
    print(n["summary"]["data"] + " | " + n["body"]["data"])'
}

# The default account's to-do, due today by the program's own clock (the same time zone); a
# second account, bob, with admin's password and nothing of its own.
name='Water <b>the</b> plants & herbs'
sql "INSERT INTO tblTasks(UserID,GroupID,TaskName,TaskDescription,DueDate,Priority)
     VALUES(1,1,'$name','d',date('now','localtime'),0);" >/dev/null
sql "INSERT INTO tblUsers SELECT 2,'bob',Password FROM tblUsers WHERE UserID=1;" >/dev/null

# 1. Nothing due for bob: no notification. The reminder is looked for once his main window
#    has painted; a second more leaves a wrongly sent one time to arrive.
start
log_in_as bob admin
sleep 2
[ "$(dunstctl count displayed)" -eq 0 ] || fail "a notification for an account with nothing due"
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""

# 2. admin: one notification naming the to-do.
start
log_in_as_admin
for _ in $(seq 1 300); do [ "$(dunstctl count displayed)" -ge 1 ] && break; sleep 0.1; done
[ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/due-reminder.png"

# 3. The notification's action brings the main window up over another program's window. With
#    no window manager here the keyboard stays where it is; the stacking order shows it.
#    xwininfo lists the root window's children top first.
xmessage -name other "another program" >/dev/null 2>&1 &
other_pid=$!
trap 'kill $other_pid $dunst_pid 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 1 100); do
  other=$(xdotool search --onlyvisible --classname '^other$' 2>/dev/null | head -1) || true
  [ -n "$other" ] && break
  sleep 0.1
done
[ -n "$other" ] || fail "the other program's window did not show"
on_top() { # window: true when it stands above the other program's window
  xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$other")" \
    '$1 == a { at = NR } $1 == b { bt = NR } END { exit !(at && bt && at < bt) }'
}
on_top "$main_window" && fail "the other program's window did not come over the main window"
dunstctl action 0
for _ in $(seq 1 100); do on_top "$main_window" && break; sleep 0.1; done
on_top "$main_window" || fail "the notification's action did not bring the main window forward"
kill "$other_pid" 2>/dev/null || true

shown=$(history)
echo "notifications: $shown"
[ "$(printf '%s\n' "$shown" | grep -c .)" -eq 1 ] || { cat "$work/dunst.log" >&2; fail "wanted one notification in all, got: $shown"; }
expected="Pelmoran Todo List | 1 due today, 0 overdue: Water &lt;b&gt;the&lt;/b&gt; plants &amp; herbs"
[ "$shown" = "$expected" ] || fail "the notification reads '$shown', wanted '$expected'"
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""
echo "e2e due_reminder: passed"
