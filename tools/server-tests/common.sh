# Shared by the server load and kill tests: a shell client driven line by
# line through a coprocess, and the counters the checks read.
#
# Each employee record's Alamat holds a number, the count of posts stored on
# it. A client edits a record (read under its lock), writes the number plus
# one and posts; every post the shell acknowledges with "ok" is written down.
# With no lost update, each record's number equals its acknowledged posts.

ADMIN=${ADMIN:-build/tools/arsipstaf-admin}
RECORDS=${RECORDS:-20}

nip_of() { printf '%010d' "$1"; }

# Starts the shell as coprocess SH.
start_shell() {
  coproc SH { exec "$ADMIN" shell 2>/dev/null; }
}

# Sends one command and reads its one result line into $reply.
say() {
  echo "$1" >&"${SH[1]}" || return 1
  IFS= read -r reply <&"${SH[0]}" || return 1
}

# After "show": the value of field $1 of the current record, into $value.
read_show() {
  local line
  value=""
  while IFS= read -r line <&"${SH[0]}"; do
    [[ $line == . ]] && return 0
    [[ $line == "$1="* ]] && value=${line#*=}
  done
  return 1
}

# Makes the schema's tables and RECORDS employees with Alamat 0.
prepare_tables() {
  "$ADMIN" init "$1" >/dev/null
  start_shell
  say "use Tdatapeg"
  for ((n = 1; n <= RECORDS; n++)); do
    say "append"; say "set NIP $(nip_of $n)"; say "set Nama_Pegawai \"Pegawai $n\""
    say "set Alamat 0"; say "post"
    [[ $reply == ok ]] || { echo "cannot seed: $reply" >&2; exit 1; }
  done
  exec {SH[1]}>&-
  wait "$SH_PID" 2>/dev/null || true
}

# One edit-post on a random record; appends the NIP to $1 when acknowledged.
# Counts refusals in locks / changed.
edit_once() {
  local nip
  nip=$(nip_of $((RANDOM % RECORDS + 1)))
  say "findkey $nip" || return 1
  say "edit" || return 1
  if [[ $reply != ok ]]; then
    [[ $reply == *locked* ]] && locks=$((locks + 1))
    return 0
  fi
  say "show" || return 1
  read_show Alamat || return 1
  say "set Alamat $((value + 1))" || return 1
  say "post" || return 1
  if [[ $reply == ok ]]; then
    echo "$nip" >>"$1"
    posts=$((posts + 1))
  else
    [[ $reply == *changed* ]] && changed=$((changed + 1))
    say "cancel" || return 1
  fi
}

# Every record's number, as "NIP N" lines, read by a fresh shell; also checks
# that a fresh shell can lock every record (no lock left behind).
read_numbers() {
  start_shell
  say "use Tdatapeg"
  for ((n = 1; n <= RECORDS; n++)); do
    say "findkey $(nip_of $n)"
    say "edit"
    [[ $reply == ok ]] || echo "LOCKED $(nip_of $n) $reply"
    say "show"; read_show Alamat
    say "cancel"
    echo "$(nip_of $n) $value"
  done
  exec {SH[1]}>&-
  wait "$SH_PID" 2>/dev/null || true
}
