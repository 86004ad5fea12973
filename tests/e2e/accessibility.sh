#!/usr/bin/env bash
# A screen reader's view of the main window through the desktop accessibility bus: the window
# is a frame named by its caption, the groups list is found by its caption, its rows are read
# as list items, the reader hears the focused row change when the user presses Down, and hears
# the details of the to-do the user then moves to in the to-do list. Arguments: the program, the tool that makes
# the database. Exits 77 (skipped) where the accessibility packages are missing.
set -euo pipefail
program="$1"
make_database="$2"

reader=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
if ! "$reader" -c 'import pyatspi' 2>/dev/null || [ ! -x "$launcher" ] ||
   ! command -v dbus-run-session >/dev/null; then
  echo "accessibility: skipped (python3-pyatspi, at-spi2-core or dbus missing)"
  exit 77
fi
# The accessibility bus lives on a session bus of this test's own.
if [ -z "${PELMORAN_OWN_BUS:-}" ]; then
  PELMORAN_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$(dirname "$0")/lib/session.sh"

"$launcher" --launch-immediately >/dev/null 2>&1 &
bus_pid=$!
trap 'kill $bus_pid 2>/dev/null || true; cleanup' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0

sql "INSERT INTO tblGroups(UserID,GroupName) VALUES(1,'Work');" >/dev/null
sql "INSERT INTO tblTasks(UserID,GroupID,TaskName,TaskDescription,DueDate,Priority,MarkAsDone)
     VALUES(1,2,'Post','Stamps and envelopes','2024-01-05',1,0);" >/dev/null
start
log_in_as_admin

"$reader" - "$main_window" <<'PY' || fail "the screen reader check failed"
import subprocess, sys, time
import pyatspi
from gi.repository import GLib

window = sys.argv[1]

def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)

def groups_list():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for node in walk(app):
            if node.getRole() == pyatspi.ROLE_LIST and node.name == "Select Group:":
                return node
    return None

deadline = time.time() + 20
found = None
while found is None and time.time() < deadline:
    found = groups_list()
    if found is None:
        time.sleep(0.5)
if found is None:
    sys.exit("no list named 'Select Group:' on the accessibility bus")
rows = [found.getChildAtIndex(i) for i in range(found.childCount)]
names = [row.name for row in rows]
print("groups list rows:", names)
if "1 - General" not in names or "2 - Work" not in names:
    sys.exit("rows not read: %r" % names)
if any(row.getRole() != pyatspi.ROLE_LIST_ITEM for row in rows):
    sys.exit("a row is not a list item")

heard = []
def on_focus(event):
    if event.detail1 == 1 and event.source is not None:
        heard.append(event.source.name)
pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")

def press():
    subprocess.run(["xdotool", "windowfocus", window], check=False)
    subprocess.run(["xdotool", "key", "--delay", "150", "Down", "Down"], check=False)
    return False
GLib.timeout_add(800, press)
GLib.timeout_add(5000, lambda: pyatspi.Registry.stop() or False)
pyatspi.Registry.start()

print("focus events heard:", heard)
if "2 - Work" not in heard:
    sys.exit("the move to '2 - Work' was not announced")
focused = [row.name for row in rows if row.getState().contains(pyatspi.STATE_FOCUSED)]
if focused != ["2 - Work"]:
    sys.exit("focused rows after Down Down: %r" % focused)

frames = [node for app in pyatspi.Registry.getDesktop(0) if app is not None
          for node in [app.getChildAtIndex(i) for i in range(app.childCount)]
          if node is not None and node.getRole() == pyatspi.ROLE_FRAME]
print("frames:", [frame.name for frame in frames])
if "Pelmoran Todo List" not in [frame.name for frame in frames]:
    sys.exit("the main window is not a frame named 'Pelmoran Todo List'")

def details():
    for frame in frames:
        for node in walk(frame):
            if node.name == "Todo details":
                return node
    return None

label = details()
if label is None:
    sys.exit("no details label named 'Todo details'")
told = []
def on_description(event):
    if event.source is not None and event.source.name == "Todo details":
        told.append(event.source.description)
pyatspi.Registry.registerEventListener(on_description,
                                       "object:property-change:accessible-description")

def to_tasks():
    # Add New Group and Remove Group, then the to-do list, whose first row Down selects.
    subprocess.run(["xdotool", "windowfocus", window], check=False)
    subprocess.run(["xdotool", "key", "--delay", "200", "Tab", "Tab", "Tab", "Down"], check=False)
    return False
GLib.timeout_add(800, to_tasks)
GLib.timeout_add(5000, lambda: pyatspi.Registry.stop() or False)
pyatspi.Registry.start()

print("details heard:", told, "details read:", label.description)
if not any("Stamps and envelopes" in text for text in told):
    sys.exit("the new details were not announced")
if "Priority: Medium" not in label.description:
    sys.exit("details label reads %r" % label.description)
PY
echo "e2e accessibility: passed"
