#!/usr/bin/env bash
# A user's whole session under a real X server: log in, add a group and a to-do with a typed
# date and priority, select them and read the details, mark the to-do done, remove the group,
# change the password, open both About windows and exit; then the database holds exactly that,
# and the new password logs in. Arguments: the program, the tool that makes the database.
set -euo pipefail
program="$1"
make_database="$2"

source "$(dirname "$0")/lib/session.sh"
shot() { [ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/$1.png" || true; }

start
log_in_as_admin
main=$main_window

# Add a group: Enter in the name moves to "Add Now", Enter there adds.
click_in "$main" 76 164
wait_for_windows "Add Group" 1 || fail "Add New Group did not open its window"
add_group=$(xdotool search --onlyvisible --name "^Add Group\$" | head -1)
type_into "$add_group" "Trip"
key Return
[ "$(sql 'SELECT COUNT(*) FROM tblGroups;')" = 1 ] || fail "Enter in the name added the group"
key Return
answer_box "Add Group" "$add_group" Return
[ "$(sql "SELECT GroupID, UserID, GroupName FROM tblGroups WHERE GroupID=2;")" = "2|1|Trip" ] ||
  fail "group not stored: $(sql 'SELECT * FROM tblGroups;')"

# Add a to-do: the group picked by its first character, then Enter from field to field.
click_in "$main" 376 164
wait_for_windows "Add New Todo" 1 || fail "Add New Todo did not open its window"
add_task=$(xdotool search --onlyvisible --name "^Add New Todo\$" | head -1)
type_into "$add_task" "2"
xdotool type --delay 30 "Book tickets"
key Return
xdotool type --delay 30 "Two seats, window side"
key Return
xdotool type --delay 30 "2024-01-05"
key Return
key Down Return
shot add-task
key Return
answer_box "Add New Todo" "$add_task" Return
stored=$(sql "SELECT UserID, GroupID, TaskName, TaskDescription, DueDate, Priority, MarkAsDone FROM tblTasks;")
[ "$stored" = "1|2|Book tickets|Two seats, window side|2024-01-05|1|0" ] || fail "to-do stored as: $stored"

# Select the group and the to-do, then mark it done.
click_in "$main" 100 266
click_in "$main" 420 234
shot details
click_in "$main" 512 164
answer_box "Pelmoran Todo List" "$main" Return
[ "$(sql 'SELECT MarkAsDone FROM tblTasks;')" = 1 ] || fail "the to-do was not marked done"

# Remove the group (Yes is the default answer); its to-do goes with it.
click_in "$main" 100 266
click_in "$main" 224 164
box_centred_on "Pelmoran Todo List" "$main"
answer_box "Pelmoran Todo List" "$main" Return
box_centred_on "Pelmoran Todo List" "$main"
answer_box "Pelmoran Todo List" "$main" Return
[ "$(sql 'SELECT COUNT(*) FROM tblGroups;')" = 1 ] || fail "the group was not removed"
[ "$(sql 'SELECT COUNT(*) FROM tblTasks;')" = 0 ] || fail "the group's to-do stayed"

# Change the password.
click_in "$main" 376 116
wait_for_windows "Change Password" 1 || fail "Change Password did not open its window"
change=$(xdotool search --onlyvisible --name "^Change Password\$" | head -1)
type_into "$change" "admin"
key Return
xdotool type --delay 30 "s3cret"
key Return
xdotool type --delay 30 "s3cret"
key Return
key Return
answer_box "Change Password" "$change" Return

# Both About windows open beside the main window.
click_in "$main" 512 116
wait_for_windows "About Pelmoran Todo List" 1 || fail "About Product did not open its window"
click_in "$main" 648 116
wait_for_windows "About Programmer" 1 || fail "About Programmer did not open its window"
shot about

# Exit ends the program with the other windows open.
click_in "$main" 648 164
for _ in $(seq 1 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Exit did not end the program"
app_pid=""
[ "$(sql 'SELECT COUNT(*) FROM tblUsers;')" = 1 ] || fail "accounts changed"

# The new password logs in; the old one no longer does.
start
wait_for_windows "Log In" 1 || fail "no log-in window"
login=$(xdotool search --onlyvisible --name "^Log In\$" | head -1)
type_into "$login" "admin"
key Return
xdotool type --delay 30 "s3cret"
key Return
key Return
wait_for_windows "Pelmoran Todo List" 1 || fail "the new password did not log in"
echo "e2e main flow: passed"
