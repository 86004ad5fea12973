#!/usr/bin/env bash
# The installed database as the tool makes it: readable with the key by the stock sqlcipher
# shell, unreadable without it, an existing file never overwritten. Arguments: the program,
# the tool that makes the database.
set -euo pipefail
tool="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" "$work/Main.mdb" >/dev/null || fail "the tool could not create the database"
tables=$(sqlcipher "$work/Main.mdb" "PRAGMA key='tm4v8bxe';" ".tables" | tr -s ' \n' ' ')
[ "$(echo $tables)" = "tblGroups tblTasks tblUsers" ] || fail "tables: $tables"
account=$(sqlcipher "$work/Main.mdb" "PRAGMA key='tm4v8bxe';" "SELECT UserID, username, substr(Password, 1, 10) FROM tblUsers;")
[ "$account" = '1|admin|$argon2id$' ] || fail "default account: $account"
group=$(sqlcipher "$work/Main.mdb" "PRAGMA key='tm4v8bxe';" "SELECT GroupID FROM tblGroups;")
[ "$group" = "1" ] || fail "default group: $group"
if sqlcipher "$work/Main.mdb" ".tables" >/dev/null 2>&1; then fail "read without the key"; fi

before=$(sha256sum "$work/Main.mdb")
if "$tool" "$work/Main.mdb" >/dev/null 2>&1; then fail "an existing file was overwritten"; fi
[ "$(sha256sum "$work/Main.mdb")" = "$before" ] || fail "the existing file changed"

# Options are answered or refused, and never taken for the name of a file to create.
options="$work/options"
mkdir "$options"
cd "$options"
help=$("$tool" --help) || fail "--help failed"
echo "$help" | grep -q 'PATH' || fail "--help shows no usage: $help"
version=$("$tool" --version) || fail "--version failed"
echo "$version" | grep -Eq '^pelmoran-make-database [0-9]+\.[0-9]+' || fail "--version: $version"
for option in --force -x --help=me --version-x; do
  if "$tool" "$option" >/dev/null 2>"$work/refused"; then fail "$option was accepted"; fi
  grep -q '^usage: ' "$work/refused" || fail "$option gave no usage line"
done
if "$tool" --force Main.mdb >/dev/null 2>&1; then fail "an unknown option beside a path was accepted"; fi
if "$tool" one.mdb two.mdb >/dev/null 2>&1; then fail "two paths were accepted"; fi
[ -z "$(ls -A "$options")" ] || fail "options made files: $(ls -A "$options" | tr '\n' ' ')"
"$tool" -- -dash.mdb >/dev/null || fail "a name after -- was refused"
[ "$(ls -A "$options")" = "-dash.mdb" ] || fail "after --: $(ls -A "$options" | tr '\n' ' ')"
cd "$work"

# Runs killed at moments spread over a run's length: the next run cleans up after them, and
# never touches a complete file.
killed="$work/killed"
mkdir "$killed"
left=0
for delay in 0.02 0.05 0.08 0.11 0.14 0.17 0.2 0.25 0.3 0.4; do
  "$tool" "$killed/Main.mdb" >/dev/null 2>&1 &
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  left=$((left + $(find "$killed" -name '.Main.mdb.*' | wc -l)))
  if [ -f "$killed/Main.mdb" ]; then
    before=$(sha256sum "$killed/Main.mdb")
    if "$tool" "$killed/Main.mdb" >/dev/null 2>&1; then fail "a complete file was overwritten"; fi
    [ "$(sha256sum "$killed/Main.mdb")" = "$before" ] || fail "a complete file changed"
    sqlcipher "$killed/Main.mdb" "PRAGMA key='tm4v8bxe';" "PRAGMA integrity_check;" | grep -qx ok \
      || fail "a complete file fails its integrity check"
    rm -f "$killed/Main.mdb"
  fi
  "$tool" "$killed/Main.mdb" >/dev/null || fail "the run after a killed one failed"
  [ "$(ls -A "$killed")" = "Main.mdb" ] || fail "left behind: $(ls -A "$killed" | tr '\n' ' ')"
  rm -f "$killed/Main.mdb"
done
echo "[figure] make-database: 10 killed runs left $left temporary files; the next runs left 0"
echo "make-database: passed"
