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
echo "make-database: passed"
