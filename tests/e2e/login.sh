#!/usr/bin/env bash
# The real program under a real X server: log in with the keyboard alone, see the refusal of
# a wrong password, and the missing-database message. Arguments: the program, the tool that
# makes the database.
set -euo pipefail
program="$1"
make_database="$2"

source "$(dirname "$0")/lib/session.sh"

# 1. A wrong password is refused with a box titled "Log In"; then the keyboard log-in works.
start
wait_for_windows "Log In" 1 || fail "no log-in window"
login=$(xdotool search --onlyvisible --name "^Log In\$" | head -1)
type_into "$login" "admin"
key Return
xdotool type --delay 30 "wrong"
key Return
key Return
wait_for_windows "Log In" 2 || fail "no refusal box for a wrong password"
[ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/login-refused.png"
focus_other "Log In" "$login"
key Return                       # dismisses the box; its release must not move the focus on
wait_for_windows "Log In" 1 || fail "the refusal box did not close"
type_into "$login" ""
key ctrl+a BackSpace
xdotool type --delay 30 "admin"
key Return
key Return
wait_for_windows "Pelmoran Todo List" 1 || fail "the main window did not open after log-in"
[ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/main.png"
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""

# 2. New Account: create an account with the keyboard alone, then log in with it.
start
wait_for_windows "Log In" 1 || fail "no log-in window"
login=$(xdotool search --onlyvisible --name "^Log In\$" | head -1)
type_into "$login" ""
key Tab Tab Tab Tab Return       # name, password, Log In, Close, then New Account
wait_for_windows "Create Account" 1 || fail "New Account did not open the create-account window"
create=$(xdotool search --onlyvisible --name "^Create Account\$" | head -1)
type_into "$create" "carol"
key Return
xdotool type --delay 30 "pw1"
key Return
xdotool type --delay 30 "pw1"
key Return
key Return                       # presses Create
wait_for_windows "Create Account" 2 || fail "no confirmation of the new account"
[ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/created.png"
focus_other "Create Account" "$create"
key Return
wait_for_windows "Log In" 1 || fail "the log-in window did not come back"
login=$(xdotool search --onlyvisible --name "^Log In\$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$login")"
xdotool mousemove $((X + 250)) $((Y + 27)) click 1   # into the user-name field
sleep 0.3
xdotool type --delay 30 "carol"
key Return
xdotool type --delay 30 "pw1"
key Return
key Return
wait_for_windows "Pelmoran Todo List" 1 || fail "the new account could not log in"
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""

# 3. Without Main.mdb: the message naming the file, then the end, and no other window.
rm "$work/Main.mdb"
start
wait_for_windows "Tallyboard" 1 || fail "no message for the missing database"
[ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/missing.png"
[ "$(count_windows "Log In")" -eq 0 ] || fail "log-in shown without a database"
box=$(xdotool search --onlyvisible --name "^Tallyboard\$" | head -1)
xdotool windowfocus "$box" 2>/dev/null || true
sleep 0.2
key Return
for _ in $(seq 1 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after the message"
[ -e "$work/Main.mdb" ] && fail "opening created a database file"
app_pid=""
echo "e2e login: passed"
