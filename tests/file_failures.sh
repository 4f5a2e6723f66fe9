#!/usr/bin/env bash
# Every file the command line writes or reads, in the unlucky and the hostile cases, as root and
# as an unprivileged user:
# - a full disk for each kind of output: status 1, the system's reason, the old file byte for
#   byte, nothing left beside it (PDFs and the rest in-process by tst_hostile on the same disk);
# - targets and inputs that are devices, FIFOs, directories, too large or links planted in a
#   shared sticky folder by another user;
# - the history database and an input of the same command named as the output;
# - a missing library (never a template in its place), values and names that a CSV or a workbook
#   must not show otherwise than they are, suffixes a command does not write, colour counts.
#
# Usage: file_failures.sh VELORIN_CLI TST_HOSTILE
# The full-disk part runs in a mount namespace of its own with a small tmpfs: unshare -m as root,
# unshare -rm (a user namespace) otherwise. Under root everything is repeated as nobody; links
# are planted by nobody for root and by daemon for nobody.
set -u

if [[ ${1:-} == --inner ]]; then
  part=$2 bin=$3 d=$4 shared=$5 who=$6
  cli=$bin/velorin-cli
  sim=(--simulate KV510)
  db=(--database "sqlite:$d/h.sqlite")
  export HOME=$d QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$d
  failed=0
  cd "$d" || exit 1
  fail() {
    echo "FAIL ($who, $part): $*"
    failed=1
  }
  # run STATUS COMMAND...: the command's stderr stays in $d/err for says().
  run() {
    local want=$1
    shift
    timeout 60 "$@" >"$d/out" 2>"$d/err"
    local got=$?
    if [[ $got -ne $want ]]; then
      fail "'$*' gave status $got, not $want"
      sed 's/^/    /' "$d/err" "$d/out" | head -n 5
      return 1
    fi
  }
  says() {
    grep -qF -- "$1" "$d/err" || { fail "no '$1' in: $(head -c 300 "$d/err")"; }
  }
  same() {
    cmp -s "$1" "$2" || fail "$2 changed"
  }
  list=$d/list.csv
  printf 'name,text1,text2,v1,v2,v3\nRed,Card,,1.5,-2,3.25\nBlue,Card,,0,0,0\n' >"$list"

  if [[ $part == disk ]]; then
    disk=$d/disk
    mkdir -p "$disk" "$d/old"
    mount -t tmpfs -o size=1m tmpfs "$disk" || { fail "cannot mount a tmpfs"; exit 1; }
    mkdir "$disk/lib"
    outputs=(list.xlsx list.csv h.csv h.xlsx lib/StdColor.xlsx s.xlsx)
    write_all() {
      local status=$1
      run "$status" "$cli" "${db[@]}" "${sim[@]}" compare --out "$disk/list.xlsx"
      [[ $status -eq 0 ]] || says "No space left on device"
      run "$status" "$cli" "${db[@]}" "${sim[@]}" compare --out "$disk/list.csv"
      [[ $status -eq 0 ]] || says "No space left on device"
      run "$status" "$cli" "${db[@]}" history --out "$disk/h.csv"
      [[ $status -eq 0 ]] || says "No space left on device"
      run "$status" "$cli" "${db[@]}" history --out "$disk/h.xlsx"
      [[ $status -eq 0 ]] || says "No space left on device"
      run "$status" "$cli" make-stdcolor "$list" --model KV510 --out "$disk/lib/StdColor.xlsx"
      [[ $status -eq 0 ]] || says "No space left on device"
      run "$status" "$cli" "${sim[@]}" spectral --out "$disk/s.xlsx"
      [[ $status -eq 0 ]] || says "No space left on device"
    }
    write_all 0
    for f in "${outputs[@]}"; do cp "$disk/$f" "$d/old/${f//\//_}"; done
    dd if=/dev/zero of="$disk/filler" bs=4k >/dev/null 2>&1
    write_all 1
    for f in "${outputs[@]}"; do same "$d/old/${f//\//_}" "$disk/$f"; done
    left=$(cd "$disk" && find . -type f | sort | tr '\n' ' ')
    [[ $left == "./filler ./h.csv ./h.xlsx ./lib/StdColor.xlsx ./list.csv ./list.xlsx ./s.xlsx " ]] ||
      fail "files left on the full disk: $left"
    umount "$disk"
    # Workbooks, CSV, PDFs and libraries in-process, as this user, on a disk of their own.
    run 0 "$bin/tst_hostile" fullDiskKeepsPreviousFile
    grep -q "^PASS   : TestHostile::fullDiskKeepsPreviousFile()" "$d/out" ||
      fail "tst_hostile: $(tail -n 3 "$d/out")"
    exit $failed
  fi

  # Targets that are no regular file: each kind of output refused, the node left as it was.
  mkfifo "$d/fifo.csv" "$d/fifo.xlsx"
  mkdir -p "$d/fifo" "$d/dir.csv" "$d/dir.xlsx" "$d/dir/StdColor.xlsx" "$d/null"
  mkfifo "$d/fifo/StdColor.xlsx"
  ln -s /dev/null "$d/null.csv"
  ln -s /dev/null "$d/null.xlsx"
  ln -s /dev/null "$d/null/StdColor.xlsx"
  targets=("fifo:is a FIFO, not a regular file" "dir:is a directory"
    "null:is a device, not a regular file")
  if [[ $(id -u) -eq 0 ]]; then
    mknod "$d/dev.csv" c 1 3 && mknod "$d/dev.xlsx" c 1 3 && mkdir "$d/dev" &&
      mknod "$d/dev/StdColor.xlsx" c 1 3 && targets+=("dev:is a device, not a regular file")
  fi
  for t in "${targets[@]}"; do
    name=${t%%:*} reason=${t#*:}
    run 1 "$cli" "${db[@]}" "${sim[@]}" compare --out "$d/$name.csv" && says "$reason"
    run 1 "$cli" "${db[@]}" "${sim[@]}" compare --out "$d/$name.xlsx" && says "$reason"
    run 1 "$cli" "${db[@]}" history --out "$d/$name.csv" && says "$reason"
    run 1 "$cli" "${db[@]}" history --out "$d/$name.xlsx" && says "$reason"
    run 1 "$cli" "${sim[@]}" spectral --out "$d/$name.xlsx" && says "$reason"
    run 1 "$cli" make-stdcolor "$list" --model KV510 --out "$d/$name/StdColor.xlsx" &&
      says "$reason"
  done
  [[ -p $d/fifo.csv && -p $d/fifo.xlsx && -p $d/fifo/StdColor.xlsx ]] || fail "a FIFO was replaced"
  [[ -d $d/dir.csv && -d $d/dir/StdColor.xlsx ]] || fail "a directory was replaced"
  [[ -L $d/null.csv && -c /dev/null ]] || fail "a device or the link to it was replaced"
  [[ ! -e $d/dev.csv || -c $d/dev.csv ]] || fail "a device node was replaced"

  # Inputs that are no regular file or too large: refused at once, nothing read.
  truncate -s 100M "$d/big.csv"
  for t in "/dev/zero:is a device" "$d/fifo.csv:is a FIFO" "$d/dir.csv:is a directory" \
    "$d/big.csv:is too large"; do
    input=${t%%:*} reason=${t#*:}
    run 1 "$cli" make-stdcolor "$input" --model KV510 --out "$d/in/StdColor.xlsx" && says "$reason"
    run 1 "$cli" --readings "$input" "${db[@]}" "${sim[@]}" compare && says "$reason"
  done

  # A link another user planted in the shared sticky folder leads nowhere; the user's own is
  # followed.
  if [[ -L $shared/$who-out.csv ]]; then
    echo "the victim's own" >"$d/victim.csv"
    cp "$d/victim.csv" "$d/victim.before"
    run 1 "$cli" "${db[@]}" "${sim[@]}" compare --out "$shared/$who-out.csv" &&
      says "is a link another user could have planted"
    run 1 "$cli" make-stdcolor "$shared/$who-list.csv" --model KV510 --out "$d/in/StdColor.xlsx" &&
      says "is a link another user could have planted"
    same "$d/victim.before" "$d/victim.csv"
    [[ -L $shared/$who-out.csv ]] || fail "the planted link was replaced"
  else
    echo "note ($who): no other user to plant a link, planted links not tried"
  fi
  ln -s "$d/real.csv" "$d/mine.csv"
  run 0 "$cli" "${db[@]}" "${sim[@]}" compare --out "$d/mine.csv"
  [[ -L $d/mine.csv && -s $d/real.csv ]] || fail "the user's own link was not written through"

  # The history database and an input of the same command are never the output.
  run 1 "$cli" --database "sqlite:$d/db.csv" "${sim[@]}" compare --out "$d/db.csv" &&
    says "is the history database"
  "$cli" --database "sqlite:$d/db.xlsx" "${sim[@]}" compare >/dev/null 2>&1 ||
    fail "a history to read could not be made"
  run 1 "$cli" --database "sqlite:$d/db.xlsx" history --out "$d/db.xlsx" &&
    says "is the history database"
  for f in db.csv db.xlsx; do
    [[ $(head -c 15 "$d/$f") == "SQLite format 3" ]] || fail "$f is no longer the database"
  done
  printf '2 89 95 -0.3 1.2\n' >"$d/readings.csv"
  cp "$d/readings.csv" "$d/readings.before"
  run 1 "$cli" --readings "$d/readings.csv" "${db[@]}" "${sim[@]}" compare --out "$d/readings.csv" &&
    says "is an input of this command"
  same "$d/readings.before" "$d/readings.csv"
  mkdir -p "$d/self"
  cp "$list" "$d/self/StdColor.xlsx"
  run 1 "$cli" make-stdcolor "$d/self/StdColor.xlsx" --model KV510 --out "$d/self/StdColor.xlsx" &&
    says "is an input of this command"
  same "$list" "$d/self/StdColor.xlsx"

  # A missing library is missing: a template in the working directory is not written instead.
  mkdir -p "$d/lib"
  run 0 "$cli" make-stdcolor "$list" --model KV510 --out "$d/lib/StdColor.xlsx"
  cp "$d/lib/StdColor.xlsx" "$d/template.xlsx"
  run 1 "$cli" "${sim[@]}" write-stdcolor "$d/gone/StdColor.xlsx" && says "was not found"
  grep -q successfully "$d/out" && fail "a missing library was written"

  # Colour counts: exactly what the instrument's memory holds; CR-only line ends.
  for n in 10082 10083; do
    awk -v n=$n 'BEGIN { print "name,t1,t2,v1,v2,v3";
      for (i = 0; i < n; i++) print "c" i ",Card" int(i / 300) ",,1.5,-2,3.25" }' >"$d/many$n.csv"
  done
  run 0 "$cli" make-stdcolor "$d/many10082.csv" --model KV510 --out "$d/lib/StdColor.xlsx"
  run 0 "$cli" "${sim[@]}" write-stdcolor "$d/lib/StdColor.xlsx"
  grep -q "successfully! (34 cards, 10082 colours)" "$d/out" || fail "10082 colours not written"
  run 1 "$cli" make-stdcolor "$d/many10083.csv" --model KV510 --out "$d/lib/StdColor.xlsx" &&
    says "one colour more than the 10082"
  printf 'name,t1,t2,v1,v2,v3\rRed,Card,,1.5,-2,3.25\rBlue,Card,,0,0,0\r' >"$d/cr.csv"
  run 0 "$cli" make-stdcolor "$d/cr.csv" --model KV510 --out "$d/lib/StdColor.xlsx"
  grep -q "1 cards, 2 colours" "$d/out" || fail "a CR-only list: $(cat "$d/out")"

  # Suffixes a command does not write.
  run 2 "$cli" "${sim[@]}" spectral --out "$d/s.txt"
  run 2 "$cli" "${db[@]}" "${sim[@]}" compare --out "$d/list.txt"
  [[ ! -e $d/s.txt && ! -e $d/list.txt ]] || fail "a file with a suffix it does not hold"

  # A name that a spreadsheet would run as a formula stays a text; a value the list's units
  # cannot carry is written as stored.
  run 0 "$cli" --database "sqlite:$d/odd.sqlite" "${sim[@]}" compare
  python3 - "$d/odd.sqlite" <<'EOF' || fail "cannot edit the history"
import sqlite3, sys
c = sqlite3.connect(sys.argv[1])
c.execute("UPDATE comparisons SET name = ?, sam_haze = 1e308", ('=HYPERLINK("http://x")',))
c.commit()
EOF
  run 0 "$cli" --database "sqlite:$d/odd.sqlite" history --out "$d/odd.csv"
  grep -qF "\"'=HYPERLINK(\"\"http://x\"\")\"" "$d/odd.csv" || fail "odd.csv: $(cat "$d/odd.csv")"
  grep -qF ",1e+308," "$d/odd.csv" || fail "1e308 in odd.csv: $(cat "$d/odd.csv")"
  run 0 "$cli" --database "sqlite:$d/odd.sqlite" history --out "$d/odd.xlsx"
  unzip -p "$d/odd.xlsx" xl/worksheets/sheet1.xml | grep -qF ">1e+308<" ||
    fail "1e308 in odd.xlsx"
  exit $failed
fi

cli=$(realpath "$1") hostile=$(realpath "$2")
work=$(mktemp -d /tmp/velorin-files.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir "$work/bin" "$work/shared"
chmod 1777 "$work/shared"
# Where an unprivileged user can reach them, whoever owns the build folder.
cp "$cli" "$hostile" "$0" "$work/bin/"
cp "$(dirname "$cli")/meterno" "$work/bin/" 2>/dev/null
chmod -R a+rX "$work/bin"
script=$work/bin/$(basename "$0")
failed=0

# half USER PLANTER: the checks as USER, with links planted by PLANTER (none: not tried).
half() {
  local who=$1 planter=$2
  local d=$work/$who
  mkdir -p "$d"
  local as=()
  if [[ $who != self ]]; then
    chown "$who:" "$d"
    as=(setpriv --reuid="$who" --regid="$(id -g "$who")" --clear-groups --)
  fi
  if [[ $planter != none ]]; then
    local plant=(setpriv --reuid="$planter" --regid="$(id -g "$planter")" --clear-groups --)
    "${plant[@]}" ln -s "$d/victim.csv" "$work/shared/$who-out.csv"
    "${plant[@]}" ln -s "$d/list.csv" "$work/shared/$who-list.csv"
  fi
  "${as[@]}" "$script" --inner files "$work/bin" "$d" "$work/shared" "$who" || failed=1
  local ns=(unshare -rm)
  [[ $(id -u) -eq 0 && $who == self ]] && ns=(unshare -m)
  if "${as[@]}" "${ns[@]}" true 2>/dev/null; then
    "${as[@]}" "${ns[@]}" "$script" --inner disk "$work/bin" "$d" "$work/shared" "$who" || failed=1
  elif [[ $(id -u) -eq 0 ]]; then
    echo "FAIL ($who): no mount namespace for the full-disk checks"
    failed=1
  else
    echo "note ($who): no user namespace here, the full-disk checks were not run"
  fi
}

if [[ $(id -u) -eq 0 ]]; then
  half self nobody
  half nobody daemon
else
  half self none
fi
exit $failed
