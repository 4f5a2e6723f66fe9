#!/usr/bin/env bash
# Runs a test as an unprivileged user, for behaviour that differs by privilege (permissions, a
# full disk): history_unprivileged.sh TEST [NAME=FILE ...]
# As root, TEST and each FILE are copied to a temporary folder (the build folder may sit where an
# unprivileged user cannot reach) and TEST runs there as nobody, with its own home, each NAME set
# to the copy of its FILE; files beside a FILE that it needs (meterno) go with it. Not as root,
# TEST runs as it is, with NAME=FILE.
set -euo pipefail
test=$1
shift
if [[ $(id -u) -ne 0 ]]; then
  for pair in "$@"; do export "$pair"; done
  exec "$test"
fi
dir=$(mktemp -d /tmp/velorin-unprivileged.XXXXXX)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/home" "$dir/bin"
cp "$test" "$dir/bin/"
env=(HOME="$dir/home" XDG_DATA_HOME="$dir/home/.local/share" XDG_RUNTIME_DIR="$dir/home"
     TMPDIR=/tmp QT_QPA_PLATFORM=offscreen PATH="$PATH"
     ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
for pair in "$@"; do
  name=${pair%%=*}
  file=${pair#*=}
  cp -r "$file" "$dir/bin/"
  # The command line reads its model table beside itself.
  [[ -f $(dirname "$file")/meterno ]] && cp "$(dirname "$file")/meterno" "$dir/bin/"
  env+=("$name=$dir/bin/$(basename "$file")")
done
chown -R nobody:nogroup "$dir"
chmod 755 "$dir"
cd "$dir/home"
setpriv --reuid=nobody --regid=nogroup --clear-groups -- env -i "${env[@]}" \
  "$dir/bin/$(basename "$test")"
