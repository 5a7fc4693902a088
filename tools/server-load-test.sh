#!/usr/bin/env bash
# Load test on a database server: CLIENTS admin shells (50) edit and post
# overlapping employee records for SECONDS (60). Prints posts per second, the
# refusals (record locks, records changed) and checks that no acknowledged
# post is lost: every record's count equals the posts acknowledged on it.
# Runs against a throw-away cluster unless $ARSIPSTAF_TEST_PG names a server.
#     tools/server-load-test.sh            (after tools/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${ARSIPSTAF_TEST_PG:-}" ] || exec tools/with-test-server.sh "$0" "$@"
. tools/server-tests/common.sh
CLIENTS=${CLIENTS:-50}
SECONDS_TO_RUN=${SECONDS_TO_RUN:-60}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ARSIPSTAF_ENGINE_CONFIG=$work/engine.conf
schema=load_$$
psql "$ARSIPSTAF_TEST_PG" -qc "CREATE SCHEMA $schema" >/dev/null
if [[ $ARSIPSTAF_TEST_PG == *://* ]]; then sep='?'; [[ $ARSIPSTAF_TEST_PG == *\?* ]] && sep='&'
  address="$ARSIPSTAF_TEST_PG${sep}options=-csearch_path%3D$schema"
else address="$ARSIPSTAF_TEST_PG options='-csearch_path=$schema'"; fi
prepare_tables "$address"

client() {
  local id=$1 posts=0 locks=0 changed=0 end=$((SECONDS + SECONDS_TO_RUN))
  start_shell
  say "use Tdatapeg"
  while ((SECONDS < end)); do
    edit_once "$work/acks.$id" || break
  done
  echo "$posts $locks $changed" >"$work/counts.$id"
}

started=$(date +%s.%N)
for ((c = 1; c <= CLIENTS; c++)); do client "$c" & done
wait
elapsed=$(echo "$(date +%s.%N) - $started" | bc)

cat "$work"/acks.* 2>/dev/null | sort | uniq -c | awk '{print $2, $1}' >"$work/acked"
read_numbers >"$work/stored"
awk '{p += $1; l += $2; c += $3} END {print p, l, c}' "$work"/counts.* >"$work/totals"
read -r posts locks changed <"$work/totals"
lost=0; extra=0
while read -r nip stored; do
  [[ $nip == LOCKED ]] && { echo "left locked: $stored"; lost=$((lost + 1)); continue; }
  acked=$(awk -v n="$nip" '$1 == n {print $2}' "$work/acked"); acked=${acked:-0}
  ((stored < acked)) && lost=$((lost + acked - stored))
  ((stored > acked)) && extra=$((extra + stored - acked))
done <"$work/stored"
echo "clients: $CLIENTS, seconds: $elapsed, records: $RECORDS"
echo "acknowledged posts: $posts ($(echo "scale=1; $posts / $elapsed" | bc) per second)"
echo "refused as locked: $locks, refused as changed: $changed"
echo "lost updates: $lost, stored but not acknowledged: $extra"
[ "$lost" -eq 0 ] && [ "$extra" -eq 0 ]
