#!/usr/bin/env bash
# Crash test: tools/crash-test.sh N [ADMIN]
#
# N trials. Each starts one to three writers at once, each an
# `arsipstaf-admin shell` driven command by command (appends, edits and
# deletes of its own employee records), and kills them all with SIGKILL at a
# random moment. A change counts as acknowledged once the shell answered "ok"
# to its post or delete. After each trial the table must hold every
# acknowledged record with its last acknowledged values (or the values of the
# change that was in flight when the writer died), pass SQLite's integrity
# check, and let a fresh shell edit every record (no lock left behind).
#
# Every change writes its history entry in its own transaction: after each
# trial every acknowledged change must have exactly its entry, in order, and
# the change in flight an entry exactly when it took effect; no entry may
# lack its change.
#
# Prints trials, acknowledged records, records lost, history entries wrong
# (missing, extra or out of step with the records), files failing integrity
# and locks left; exits 1 when anything was lost, wrong, damaged or left
# locked.
# ADMIN defaults to build/tools/arsipstaf-admin.
#
# Upgrade crash test: tools/crash-test.sh --upgrade N [PROGRAM]
#
# N trials. Each copies the version-1 table files of tests/fixtures/v1,
# starts PROGRAM (build/tools/arsipstaf-crash-upgrade: the upgrade as opening
# runs it, to the version above the program's, which adds a column to every table and writes it in
# every record) and kills it with SIGKILL at a random moment. Every file must
# then pass SQLite's integrity check and be either at version 1 with exactly
# its records or at version 2 with exactly its records and the new column,
# never between; every tenth trial the upgrade is then run to its end and
# must bring every file to that version. Prints trials, files at each version
# and files found half upgraded or damaged; exits 1 when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

upgrade_trials() {
  local trials=$1 program fixtures=tests/fixtures/v1/files
  program=$(realpath "${2:-build/tools/arsipstaf-crash-upgrade}")
  [[ -x $program ]] || { echo "crash-test: no upgrade program at $program (build it first)" >&2; exit 2; }
  command -v sqlite3 >/dev/null || { echo "crash-test: needs the sqlite3 command" >&2; exit 2; }
  # In memory where there is some: a kill, unlike a power cut, loses nothing
  # that was written, and the many syncs of the backup and the upgrade would
  # otherwise make every trial slow.
  local base=${TMPDIR:-/tmp}
  [[ -d /dev/shm && -w /dev/shm ]] && base=/dev/shm
  upgrade_work=$(mktemp -d "$base/arsipstaf-crash-upgrade-XXXXXX")
  trap 'rm -rf "$upgrade_work"' EXIT
  local work=$upgrade_work
  # What each file must hold: its records as they are, or with the new value.
  local file name
  declare -A expected
  # The version a whole upgrade ends at: the program's, and the test step's one above it.
  local newest
  rm -rf "$work/probe" && mkdir "$work/probe" && cp "$fixtures"/*.db "$work/probe/"
  "$program" "$work/probe" >/dev/null
  newest=$(sqlite3 "$work/probe/Agama.db" "PRAGMA user_version")
  for file in "$fixtures"/*.db; do
    name=$(basename "$file")
    expected[$name.1]=$(sqlite3 "$file" "SELECT * FROM records ORDER BY rid")
    expected[$name.$newest]=$(sed 's/$/|diperbarui/' <<<"${expected[$name.1]}")
  done
  # One sqlite3 run per file: integrity, version, then the records.
  judge() {
    local file=$1 name state check version records
    name=$(basename "$file")
    state=$(sqlite3 "$file" "PRAGMA integrity_check; PRAGMA user_version; SELECT * FROM records ORDER BY rid" 2>&1) ||
      { echo bad; return; }
    check=${state%%$'\n'*} state=${state#*$'\n'}
    version=${state%%$'\n'*} records=${state#*$'\n'}
    ((version == 0)) && version=1
    if [[ $check == ok && -v expected[$name.$version] && $records == "${expected[$name.$version]}" ]]; then
      echo "$version"
    else
      echo bad
    fi
  }
  fresh() {
    rm -rf "$work/data" "$work"/data-backup-*
    mkdir "$work/data"
    cp "$fixtures"/*.db "$work/data/"
  }
  # Kills fall anywhere from the start to a little past the end of a whole
  # upgrade, as long as one takes here.
  local started ms
  fresh
  started=$(date +%s%N)
  "$program" "$work/data" >/dev/null
  ms=$((($(date +%s%N) - started) / 1000000 * 6 / 5 + 1))
  local old=0 new=0 bad=0 trial pid verdict
  for ((trial = 1; trial <= trials; trial++)); do
    fresh
    "$program" "$work/data" >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v ms=$((RANDOM % ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    for file in "$work"/data/*.db; do
      verdict=$(judge "$file")
      case $verdict in
        1) old=$((old + 1)) ;;
        "$newest") new=$((new + 1)) ;;
        *) bad=$((bad + 1)); echo "crash-test: trial $trial: $(basename "$file") is half upgraded or damaged" >&2 ;;
      esac
    done
    # What a kill left, the next opening finishes.
    if ((trial % 10 == 0)); then
      "$program" "$work/data" >/dev/null 2>&1 || bad=$((bad + 1))
      for file in "$work"/data/*.db; do
        [[ $(judge "$file") == "$newest" ]] || { bad=$((bad + 1)); echo "crash-test: trial $trial: $(basename "$file") not upgraded after the kill" >&2; }
      done
    fi
  done
  echo "upgrade trials: $trials (killed within ${ms} ms)"
  echo "files left at version 1: $old"
  echo "files left at version $newest: $new"
  echo "files half upgraded or damaged: $bad"
  ((bad == 0))
}

if [[ ${1:-} == --upgrade ]]; then
  upgrade_trials "${2:?usage: tools/crash-test.sh --upgrade N [PROGRAM]}" "${3:-}"
  exit
fi

trials=${1:?usage: tools/crash-test.sh N [ADMIN]}
admin=$(realpath "${2:-build/tools/arsipstaf-admin}")
[[ -x $admin ]] || { echo "crash-test: no admin tool at $admin (build it first)" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "crash-test: needs the sqlite3 command" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/arsipstaf-crash-XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export ARSIPSTAF_ENGINE_CONFIG=$work/engine.conf
"$admin" init "$work/data" >/dev/null
table=$work/data/Datapegawai.db

# One writer: drives its shell through two pipes and writes to its log
#   P op nip [value]   a change sent (in flight until answered)
#   A nip / E nip value / D nip   a change acknowledged
writer() {
  local id=$1 trial=$2 log=$3
  local in=$work/in.$id out=$work/out.$id answer nip value i
  local own=()
  exec 3>"$in" 4<"$out"
  ask() { printf '%s\n' "$1" >&3 2>/dev/null && IFS= read -r answer <&4; }
  ask "use Tdatapeg" || return 0
  for ((i = 1; i < 100000; i++)); do
    local roll=$((RANDOM % 10))
    if ((roll < 6 || ${#own[@]} == 0)); then
      nip=$(printf '%04d%d%05d' "$trial" "$id" "$i")
      ask append || return 0
      ask "set NIP $nip" || return 0
      ask "set Nama_Pegawai \"Penulis $id\"" || return 0
      echo "P A $nip" >>"$log"
      ask post || return 0
      if [[ $answer == ok ]]; then echo "A $nip" >>"$log"; own+=("$nip"); fi
    else
      local pick=$((RANDOM % ${#own[@]}))
      nip=${own[$pick]}
      ask "findkey $nip" || return 0
      [[ $answer == "ok found" ]] || continue
      if ((roll < 8)); then
        value="Jl. Uji $trial-$id-$i"
        ask edit || return 0
        [[ $answer == ok ]] || continue
        ask "set Alamat \"$value\"" || return 0
        echo "P E $nip $value" >>"$log"
        ask post || return 0
        [[ $answer == ok ]] && echo "E $nip $value" >>"$log"
      else
        echo "P D $nip" >>"$log"
        ask delete || return 0
        if [[ $answer == ok ]]; then
          echo "D $nip" >>"$log"
          own=("${own[@]:0:pick}" "${own[@]:pick+1}")
        fi
      fi
    fi
  done
}

# Compares one writer's log with the table and its history: the number of
# acknowledged records, the number lost, then the number of records whose
# history is not exactly their changes.
verify() {
  local log=$1 stored=$2 history=$3 prefix=$4
  awk -v stored="$stored" -v history="$history" -v prefix="$prefix" '
    BEGIN {
      FS = "\t"
      while ((getline line < stored) > 0) { split(line, f, "\t"); have[f[1]] = 1; addr[f[1]] = f[2] }
      # The entries of the records of this writer, in order: kind:value of Alamat.
      while ((getline line < history) > 0) {
        split(line, f, "\t")
        if (substr(f[1], 1, length(prefix)) != prefix) continue
        hist[f[1]] = hist[f[1]] " " f[2] ":" f[3]; seen[f[1]] = 1
      }
      FS = " "
    }
    $1 == "P" {
      pending[$3] = $2; pvalue[$3] = substr($0, length($1 $2 $3) + 4)
      pevent[$3] = ($2 == "A" ? "added:" : $2 == "D" ? "deleted:" : "changed:" pvalue[$3]); next
    }
    $1 == "A" { acked[$2] = 1; alive[$2] = 1; value[$2] = ""; delete pending[$2]; count++; seq[$2] = seq[$2] " added:"; seen[$2] = 1 }
    $1 == "E" { value[$2] = substr($0, length($1 $2) + 3); delete pending[$2]; seq[$2] = seq[$2] " changed:" value[$2] }
    $1 == "D" { alive[$2] = 0; delete pending[$2]; seq[$2] = seq[$2] " deleted:" }
    END {
      for (nip in acked) {
        if (!alive[nip]) { if (have[nip] && pending[nip] == "") lost++; continue }
        if (!have[nip]) { if (pending[nip] != "D") lost++; continue }
        if (addr[nip] != value[nip] && !(pending[nip] == "E" && addr[nip] == pvalue[nip])) lost++
      }
      for (nip in pending) seen[nip] = 1
      for (nip in seen) {
        # Whether the change in flight is in the table.
        p = pending[nip]
        took = p == "A" ? have[nip] : p == "D" ? !have[nip] : p == "E" ? (have[nip] && addr[nip] == pvalue[nip]) : 0
        if (hist[nip] == seq[nip] && !(p != "" && took)) continue
        if (p != "" && took && hist[nip] == seq[nip] " " pevent[nip]) continue
        wrong++
      }
      print count + 0, lost + 0, wrong + 0
    }' "$log"
}

acknowledged=0 lost=0 wrong=0 damaged=0 locked=0
for ((trial = 1; trial <= trials; trial++)); do
  writers=$((RANDOM % 3 + 1))
  pids=()
  drivers=()
  for ((w = 1; w <= writers; w++)); do
    rm -f "$work/in.$w" "$work/out.$w"
    mkfifo "$work/in.$w" "$work/out.$w"
    "$admin" shell <"$work/in.$w" >"$work/out.$w" 2>/dev/null &
    pids+=($!)
    : >"$work/log.$trial.$w"
    writer "$w" "$trial" "$work/log.$trial.$w" 2>/dev/null &
    drivers+=($!)
  done
  sleep "0.$(printf '%03d' $((RANDOM % 400 + 20)))"
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  # A driver may still wait on a pipe whose shell died before opening it.
  for pid in "${drivers[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}" "${drivers[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()

  sqlite3 -separator $'\t' "$table" "SELECT NIP, Alamat FROM records" >"$work/stored"
  # Each entry: key, kind and the new address.
  sqlite3 -separator $'\t' "$table" "SELECT record_key, kind, ifnull((SELECT json_extract(f.value, '\$[2]')
    FROM json_each(h.fields) f WHERE json_extract(f.value, '\$[0]') = 'Alamat'), '') FROM history h ORDER BY entry" \
    >"$work/history"
  for ((w = 1; w <= writers; w++)); do
    read -r acked missing bad < <(verify "$work/log.$trial.$w" "$work/stored" "$work/history" "$(printf '%04d%d' "$trial" "$w")")
    acknowledged=$((acknowledged + acked))
    lost=$((lost + missing))
    wrong=$((wrong + bad))
  done
  for file in "$work"/data/*.db; do
    [[ $(sqlite3 "$file" "PRAGMA integrity_check") == ok ]] || damaged=$((damaged + 1))
  done
  # Every record of this trial must be editable by a fresh shell.
  {
    echo "use Tdatapeg"
    sqlite3 "$table" "SELECT NIP FROM records WHERE NIP LIKE '$(printf '%04d' "$trial")%'" |
      while read -r nip; do printf 'findkey %s\nedit\ncancel\n' "$nip"; done
  } | "$admin" shell >"$work/edits" 2>/dev/null
  locked=$((locked + $(grep -c 'locked' "$work/edits" || true)))
  rm -f "$work"/log."$trial".*
done

echo "trials: $trials"
echo "acknowledged records: $acknowledged"
echo "records lost: $lost"
echo "history entries wrong: $wrong"
echo "files failing integrity: $damaged"
echo "locks left: $locked"
((lost == 0 && wrong == 0 && damaged == 0 && locked == 0))
