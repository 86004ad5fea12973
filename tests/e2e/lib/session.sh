# Shared by the end-to-end scripts: a temporary program folder with a fresh Main.mdb, a private
# Xvfb display, and helpers that wait for windows and type into them. Source it after setting
# `program` and `make_database`.

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -n "${PELMORAN_SHOTS:-}" ] && import -window root "$PELMORAN_SHOTS/failure.png" 2>/dev/null
  echo "visible windows:" >&2
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "  $id $(xdotool getwindowname "$id" 2>/dev/null)" >&2
  done
  [ -f "$work/log" ] && { echo "program output:" >&2; cat "$work/log" >&2; }
  exit 1
}

# A free display number.
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
unset QT_QPA_PLATFORM

# The program reads Main.mdb from its own folder. A script that brings its own program tree
# (the unpacked package) sets no `program`.
database="$work/Main.mdb"
if [ -n "${program:-}" ]; then
  cp "$program" "$work/pelmoran-todo"
  "$make_database" "$database" >/dev/null
fi

count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
# Waits (up to 30 s: a loaded machine is slow) until `name` has exactly `count` windows.
wait_for_windows() { # name count
  for _ in $(seq 1 300); do
    [ "$(count_windows "$1")" -eq "$2" ] && return 0
    sleep 0.1
  done
  echo "windows named '$1': $(count_windows "$1"), wanted $2" >&2
  return 1
}
type_into() { # window text
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  [ -n "$2" ] && xdotool type --delay 30 "$2"
  true
}
# Gives the keyboard to the window named `name` that is not `previous` (a box over its window).
focus_other() { # name previous
  local id
  for id in $(xdotool search --onlyvisible --name "^$1\$"); do
    if [ "$id" != "$2" ]; then
      xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
      sleep 0.3
      return 0
    fi
  done
  return 1
}
key() { xdotool key --delay 80 "$@"; sleep 0.3; }

start() {
  "$work/pelmoran-todo" >"$work/log" 2>&1 &
  app_pid=$!
}


# Logs in as the default account with the keyboard and waits for the main window.
log_in_as_admin() { log_in_as admin admin; }

# Logs in with the keyboard as `name` and waits for the main window.
log_in_as() { # name password
  wait_for_windows "Log In" 1 || fail "no log-in window"
  local login
  login=$(xdotool search --onlyvisible --name "^Log In\$" | head -1)
  type_into "$login" "$1"
  key Return
  xdotool type --delay 30 "$2"
  key Return
  key Return
  wait_for_windows "Pelmoran Todo List" 1 || fail "the main window did not open after log-in"
  main_window=$(xdotool search --onlyvisible --name "^Pelmoran Todo List\$" | head -1)
  xdotool windowfocus --sync "$main_window" 2>/dev/null || xdotool windowfocus "$main_window"
  sleep 0.3
}

# Runs SQL on the program's database (`database`) with the stock shell.
sql() { sqlcipher "$database" "PRAGMA key='tm4v8bxe';" "$1" | grep -v '^ok$' || true; }

# Clicks at (x, y) pixels inside the window `id`.
click_in() { # id x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
  sleep 0.4
}

# Fails unless a box named `name` stands centred (within 2 px) on the window `owner`.
box_centred_on() { # name owner
  local id="" box_x box_y
  for _ in $(seq 1 300); do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
      [ "$id" != "$2" ] && break
      id=""
    done
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no box titled '$1'"
  eval "$(xdotool getwindowgeometry --shell "$id")"
  box_x=$((X + WIDTH / 2)) box_y=$((Y + HEIGHT / 2))
  eval "$(xdotool getwindowgeometry --shell "$2")"
  local dx=$((box_x - X - WIDTH / 2)) dy=$((box_y - Y - HEIGHT / 2))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
    fail "the box '$1' stands ${dx},${dy} px off its window's centre"
}

# Answers the box that stands over the window `owner` (both named `name`) with `keys`, and
# waits until that box (not merely some box of that name) is gone. A box shown as another
# closes can lose the keyboard to its owner's activation: the keys are given again, at most
# three times.
answer_box() { # name owner keys...
  local name=$1 owner=$2 box="" attempt id
  shift 2
  for _ in $(seq 1 300); do
    for id in $(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null); do
      [ "$id" != "$owner" ] && box=$id
    done
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "no box titled '$name'"
  for attempt in 1 2 3; do
    sleep 0.5
    xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box" 2>/dev/null || true
    sleep 0.3
    key "$@"
    for _ in $(seq 1 30); do
      xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | grep -qx "$box" || return 0
      sleep 0.1
    done
  done
  fail "the box titled '$name' did not close"
}
