#!/bin/bash
# The installed tree: `cmake --install` into a temporary DESTDIR with the prefix /usr, then the
# installed programs run from there without SORANO_RESOURCES and must find their shipped files under
# usr/share/sorano/: sorano-cli seeds a data folder from the shipped brand list, the installed
# sorano-feed serves that list to an installed sorano-cli download, sorano-cli imports a CSV file, and
# the installed program's first start (offscreen) seeds the per-user data folder. The desktop entry and
# the AppStream file must pass their validators.
#
#   install_test.sh CMAKE BUILD_DIR TEST_DIR
set -uo pipefail
CMAKE=$1 BUILD=$2 HERE=$3
ROOT_SRC=$(cd "$HERE/../.." && pwd)
# shellcheck source=scripts/demo-lib.sh
. "$ROOT_SRC/scripts/demo-lib.sh"

WORK=$(mktemp -d)
FEED_PID="" APP_PID=""
cleanup() {
  stop_pid "$APP_PID"
  stop_pid "$FEED_PID"
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
fail() {
  echo "install: $*" >&2
  exit 1
}

STAGE=$WORK/stage
DESTDIR=$STAGE "$CMAKE" --install "$BUILD" --prefix /usr >"$WORK/install.log" || fail "cmake --install failed"
BIN=$STAGE/usr/bin SHARE=$STAGE/usr/share

for f in "$BIN/sorano" "$BIN/sorano-cli" "$BIN/sorano-feed" \
  "$SHARE/applications/jp.vantor.Sorano.desktop" "$SHARE/metainfo/jp.vantor.Sorano.metainfo.xml" \
  "$SHARE/icons/hicolor/scalable/apps/jp.vantor.Sorano.svg" "$SHARE/icons/hicolor/48x48/apps/jp.vantor.Sorano.png"; do
  [ -f "$f" ] || fail "${f#"$STAGE"} was not installed"
done
# Every shipped file, byte for byte.
(cd "$ROOT_SRC/resources" && find . -type f) | while read -r f; do
  cmp -s "$ROOT_SRC/resources/$f" "$SHARE/sorano/$f" || fail "resources/${f#./} is not in usr/share/sorano"
done || exit 1

desktop-file-validate "$SHARE/applications/jp.vantor.Sorano.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$SHARE/metainfo/jp.vantor.Sorano.metainfo.xml" >"$WORK/appstream.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$WORK/appstream.log")"

unset SORANO_RESOURCES
export SORANO_REGISTRY=$WORK/Sorano.reg
export XDG_DATA_HOME=$WORK/share XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# sorano-cli: the shipped brand list into a data folder of its own.
DATA=$WORK/cli/
mkdir -p "$DATA"
"$BIN/sorano-cli" --data "$DATA" seed >"$WORK/seed.log" 2>&1 || fail "sorano-cli seed: $(cat "$WORK/seed.log")"
cmp -s "$DATA/data/default.dat" "$ROOT_SRC/resources/default.dat" || fail "seed did not copy the shipped list"
brand=$("$BIN/sorano-cli" --data "$DATA" brand 7203)
grep -q '^market: 1 ' <<<"$brand" || fail "the seeded brand table lacks 7203: $brand"

# The installed feed serves the shipped brands; the installed CLI downloads a year of 7203 from it.
start_feed "$BIN/sorano-feed" "$WORK/feed.log" || fail "the installed sorano-feed did not start"
"$BIN/sorano-cli" --data "$DATA" update --code 7203 --host "127.0.0.1:$FEED_PORT" >/dev/null 2>"$WORK/update.log" ||
  fail "the installed sorano-cli could not download 7203: $(cat "$WORK/update.log")"
[ "$("$BIN/sorano-cli" --data "$DATA" chart 7203 | wc -l)" -gt 200 ] || fail "no year of 7203 was stored"
stop_pid "$FEED_PID"
FEED_PID=""
printf 'Date,Open,High,Low,Close,Volume\n2024-01-05,2735,2770,2716,2762,18651000\n' >"$WORK/import.csv"
"$BIN/sorano-cli" --data "$DATA" import 6758 "$WORK/import.csv" >/dev/null 2>"$WORK/import.log" ||
  fail "the installed sorano-cli could not import: $(cat "$WORK/import.log")"
[ "$("$BIN/sorano-cli" --data "$DATA" chart 6758)" = $'date,open,high,low,close,volume,factor\n2024-01-05,2735,2770,2716,2762,18651000,1' ] ||
  fail "the imported day of 6758 is not stored"

# The program's first start, offscreen: the per-user data folder is seeded from usr/share/sorano. No
# single-instance check (other programs may run beside the test) and no version check.
set_registry_values "$SORANO_REGISTRY" check_start2="$(reg_dword 1)" check_version="$(reg_dword 0)"
QT_QPA_PLATFORM=offscreen "$BIN/sorano" >"$WORK/sorano.log" 2>&1 &
APP_PID=$!
seeded=$XDG_DATA_HOME/Sorano/data/view.dat
for _ in $(seq 300); do
  [ -s "$seeded" ] && break
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
[ "$(stat -c %s "$seeded" 2>/dev/null)" = 2560000 ] || fail "the first start did not seed $seeded: $(cat "$WORK/sorano.log")"
cmp -s "$XDG_DATA_HOME/Sorano/data/default.dat" "$ROOT_SRC/resources/default.dat" || fail "the first start copied no default.dat"
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "the installed program ended by itself: $(cat "$WORK/sorano.log")"
kill -TERM "$APP_PID"
status=0
wait "$APP_PID" || status=$?
APP_PID=""
[ "$status" = 0 ] || fail "the installed program ended with status $status"
grep -q '^"sorano_first_start"=' "$SORANO_REGISTRY" || fail "the first start was not recorded"
grep -q '^"check_path"=".*/share/Sorano/"' "$SORANO_REGISTRY" || fail "check_path is not the per-user data folder"
echo "install: passed"
