#!/usr/bin/env bash
# Kill test on a database server: TRIALS (200) times a client posting edits
# is SIGKILLed at a random moment. After each, no acknowledged post may be
# lost, at most the one post in flight may be stored unacknowledged, and a
# fresh client must be able to lock every record at once (no lock left behind).
# Runs against a throw-away cluster unless $ARSIPSTAF_TEST_PG names a server.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${ARSIPSTAF_TEST_PG:-}" ] || exec tools/with-test-server.sh "$0" "$@"
. tools/server-tests/common.sh
TRIALS=${TRIALS:-200}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ARSIPSTAF_ENGINE_CONFIG=$work/engine.conf
schema=kill_$$
psql "$ARSIPSTAF_TEST_PG" -qc "CREATE SCHEMA $schema" >/dev/null
if [[ $ARSIPSTAF_TEST_PG == *://* ]]; then sep='?'; [[ $ARSIPSTAF_TEST_PG == *\?* ]] && sep='&'
  address="$ARSIPSTAF_TEST_PG${sep}options=-csearch_path%3D$schema"
else address="$ARSIPSTAF_TEST_PG options='-csearch_path=$schema'"; fi
prepare_tables "$address"

writer() {
  local posts=0 locks=0 changed=0
  start_shell
  say "use Tdatapeg"
  while edit_once "$work/acks"; do :; done
}

read_numbers >"$work/before"
lost=0; unacked=0; leftLocked=0; acknowledged=0
for ((t = 1; t <= TRIALS; t++)); do
  : >"$work/acks"
  writer &
  pid=$!
  sleep "0.$((RANDOM % 400 + 100))"
  # The writer and its shell, at once.
  pkill -KILL -P "$pid" 2>/dev/null || true
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  acknowledged=$((acknowledged + $(wc -l <"$work/acks")))
  read_numbers >"$work/after"
  if grep -q '^LOCKED' "$work/after"; then
    leftLocked=$((leftLocked + 1)); grep '^LOCKED' "$work/after"
  fi
  while read -r nip now; do
    [[ $nip == LOCKED ]] && continue
    was=$(awk -v n="$nip" '$1 == n {print $2}' "$work/before")
    acked=$(grep -c "^$nip\$" "$work/acks" || true)
    ((now - was < acked)) && lost=$((lost + acked - (now - was)))
    ((now - was > acked)) && unacked=$((unacked + now - was - acked))
  done < <(grep -v '^LOCKED' "$work/after")
  mv "$work/after" "$work/before"
done
echo "trials: $TRIALS, posts acknowledged before the kills: $acknowledged"
echo "acknowledged posts lost: $lost"
echo "posts stored in flight, unacknowledged: $unacked (at most one per trial)"
echo "trials leaving a lock behind: $leftLocked"
[ "$lost" -eq 0 ] && [ "$leftLocked" -eq 0 ] && [ "$unacked" -le "$TRIALS" ]
