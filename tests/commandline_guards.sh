#!/usr/bin/env bash
# The command lines refuse what they cannot do with status 2, never block on a FIFO, write
# nothing when the instrument answers too late, and answer --help and --version without a display.
# Usage: commandline_guards.sh VELORIN_CLI VELORIN WORK_DIR
set -u
cli=$1 app=$2 dir=$3
mkdir -p "$dir"
failed=0
expect() {
  local want=$1
  shift
  timeout 30 "$@" >/dev/null 2>&1
  local got=$?
  if [[ $got -ne $want ]]; then
    echo "FAIL: '$*' gave status $got, not $want"
    failed=1
  fi
}
lab=(50 0 0 50 1 1)
expect 2 "$cli" delta-e --formula 99 "${lab[@]}"
expect 2 "$cli" delta-e --formula -1 "${lab[@]}"
expect 2 "$cli" delta-e --old-layout --formula 6 "${lab[@]}"
expect 0 "$cli" delta-e --old-layout --formula 5 "${lab[@]}"
expect 2 "$cli" delta-e 1e308 0 0 50 1 1
expect 2 "$cli" --simulate
expect 2 "$cli" --simulate KV510 --fault nonsense info
expect 2 "$cli" --simulate KV510 --fault delay info
expect 2 "$cli" --fault silent info
expect 0 "$cli" --simulate KV510 --fault bad-crc --fault drop:1 delta-e "${lab[@]}"

rm -f "$dir/StdColor.xlsx" && mkfifo "$dir/StdColor.xlsx"
expect 1 "$cli" --simulate KV510 write-stdcolor "$dir/StdColor.xlsx"

rm -f "$dir/late.xlsx"
expect 1 "$cli" --simulate KV510 --fault delay:7000 spectral-history --out "$dir/late.xlsx"
if [[ -e $dir/late.xlsx ]]; then
  echo "FAIL: a late instrument still left $dir/late.xlsx"
  failed=1
fi

for option in --help --version; do
  if ! env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$app" "$option" \
      >"$dir/out" 2>&1; then
    echo "FAIL: velorin $option without a display"
    cat "$dir/out"
    failed=1
  fi
done
grep -q -- "--fault" <(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" --help) ||
  { echo "FAIL: velorin --help does not list --fault"; failed=1; }
exit $failed
