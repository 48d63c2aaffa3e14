#!/bin/bash
# End to end: the real program under its own Xvfb, against a sorano-feed on 127.0.0.1, on a temporary
# settings file and data folder. The chart of brand 7203 is downloaded through the chart pane's
# context menu ("選択銘柄のチャート初期化(&I)"), the period switched to weekly through the menu bar
# ("チャート(&C)" > "週足(&W)"), a screenshot taken and checked for candles. Then the brand tree and the
# list: the category "コード別 > 7000番台" is chosen and its first row clicked (the caption names that
# brand, whose chart has no data: no candles), then the folder "e2e" and its row 7203 (candles again).
# The bands are hidden ("表示(&V)" > "ツールバーの表示(&T)"), and a further screenshot must show the panes
# laid out again for the taller client area (the chart tabs still right above the status bar); the
# program is ended with F12 and the saved settings must then say weekly. Last, a measured start
# (SORANO_MEASURE_STARTUP) must end by itself after its first chart frame and report its steps.
#
#   e2e_weekly_chart.sh SORANO SORANO_FEED E2E_CHECK_CANDLES ARTIFACT_DIR
#
# The screenshot and the logs stay in ARTIFACT_DIR. Every process started here is ended on exit.
set -uo pipefail
SORANO=$1 FEED=$2 CHECK=$3 ARTIFACTS=$4
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
# shellcheck source=scripts/demo-lib.sh
. "$ROOT/scripts/demo-lib.sh"

for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "e2e: $tool is missing (scripts/install-deps installs it)" >&2
    exit 1
  fi
done

mkdir -p "$ARTIFACTS"
rm -f "$ARTIFACTS"/*.png "$ARTIFACTS"/*.log
WORK=$(mktemp -d)
XVFB_PID="" FEED_PID="" APP_PID=""
cleanup() {
  stop_pid "$APP_PID"
  stop_pid "$FEED_PID"
  stop_pid "$XVFB_PID"
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

fail() {
  echo "e2e: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$ARTIFACTS/failure.png" 2>/dev/null
  exit 1
}

# Poll a command until it succeeds or the seconds run out.
wait_for() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.2
  done
}

# Our own X server on a free display number (it writes the number to the descriptor we give it).
exec 5>"$WORK/display"
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >"$ARTIFACTS/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 5>&-
wait_for 20 grep -q '[0-9]' "$WORK/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"
echo "e2e: Xvfb on $DISPLAY"

start_feed "$FEED" "$ARTIFACTS/feed.log" || fail "sorano-feed did not start"
HOST=127.0.0.1:$FEED_PORT

export SORANO_REGISTRY=$WORK/Sorano.reg
export XDG_DATA_HOME=$WORK/share
export XDG_CONFIG_HOME=$WORK/config
export XDG_RUNTIME_DIR=$WORK/runtime
export SORANO_RESOURCES=$ROOT/resources
export QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
DATA=$XDG_DATA_HOME/Sorano/
set_registry_values "$SORANO_REGISTRY" check_path="$DATA" host_chart="$HOST" host_quote="$HOST" \
  host_chart_image="$HOST" host_maker="$HOST" host_news="$HOST" host_board="$HOST" host_profile="$HOST" \
  host_analysis="$HOST" host_statements="$HOST" check_start2="$(reg_dword 1)" check_version="$(reg_dword 0)" \
  check_code="$(reg_dword 7203)" check_ymd="$(reg_dword 0)" check_window="$(reg_dword 1)" \
  check_rc.left="$(reg_dword 0)" check_rc.top="$(reg_dword 0)" check_rc.right="$(reg_dword 1200)" \
  check_rc.bottom="$(reg_dword 820)" check_sizing="$(reg_dword 9)" check_task="$(reg_dword 0)"

# A folder of the user's: 7203 first, then 6758.
mkdir -p "$DATA/data"
printf 'e2e,0,7203,6758\r\n' >"$DATA/data/mybrand.dat"

"$SORANO" >"$ARTIFACTS/sorano.log" 2>&1 &
APP_PID=$!
wait_for 30 xdotool search --name 'Sorano 2\.04' || fail "the main window did not appear"
WINDOW=$(xdotool search --name 'Sorano 2\.04' | head -n1)
sleep 1

chart_file=$DATA/data/chdata_d/7203.dat
[ -e "$chart_file" ] && fail "the temporary data folder already holds a chart"

# The chart pane lies right of the tree (V = 200) and below the list (HT = 170) and the bands.
xdotool mousemove --window "$WINDOW" 650 420 click 3 || fail "cannot click the chart pane"
sleep 1
xdotool key i
wait_for 60 test -s "$chart_file" || fail "the chart of 7203 was not downloaded"
# The progress dialog closes when the job has ended and the chart has been read again.
wait_for 30 bash -c "! xdotool search --name '7203 - ' >/dev/null" || fail "the progress dialog stayed open"
sleep 1

# Keys go to the window that has the input focus; there is no window manager to give it.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
sleep 0.5
xdotool key alt+c
sleep 1.5
xdotool key w
sleep 3

import -window root "$ARTIFACTS/weekly_chart.png" || fail "no screenshot"
echo "e2e: screenshot in $ARTIFACTS/weekly_chart.png"
"$CHECK" "$ARTIFACTS/weekly_chart.png" || fail "the chart area shows no candles"

# The caption of the main window (xdotool reads it as the window's name).
caption() { xdotool getwindowname "$WINDOW"; }
# Keys typed into the tree find the node whose text starts with them; a click into the tree's empty
# part below the nodes gives it the focus without choosing a node.
choose_tree_node() {
  xdotool mousemove --window "$WINDOW" 100 760 click 1
  sleep 0.5
  xdotool type --delay 120 "$1"
  sleep 1
}
# The list's first row lies right of the tree, just below the column titles; the next ones below it.
click_row() {
  xdotool mousemove --window "$WINDOW" 420 $((94 + 21 * ($1 - 1))) click 1
  sleep 1.5
}

first7000=$(awk -F, '$1 >= 7000 && $1 < 8000 { print $1; exit }' "$ROOT/resources/default.dat")
choose_tree_node 7000
click_row 1
case "$(caption)" in
  "$first7000 "*) echo "e2e: 7000番台, first row: $(caption)" ;;
  *) fail "the first row of 7000番台 ($first7000) is not the shown brand: $(caption)" ;;
esac
import -window root "$ARTIFACTS/category_row.png" || fail "no screenshot"
"$CHECK" "$ARTIFACTS/category_row.png" 2>/dev/null && fail "the chart still shows candles for $first7000"

choose_tree_node e2e
click_row 1
case "$(caption)" in
  "7203 "*) ;;
  *) fail "the folder's first row (7203) is not the shown brand: $(caption)" ;;
esac
import -window root "$ARTIFACTS/folder_row.png" || fail "no screenshot"
"$CHECK" "$ARTIFACTS/folder_row.png" || fail "the chart of 7203 shows no candles after its row was clicked"
echo "e2e: tree and list passed"

# The lowest row of the chart panes' background (color_chart00, RGB 0,30,0): the technical pane's
# bottom edge, right above the chart tabs and the status bar.
panes_bottom() {
  local box h y
  box=$(convert "$1" -fill black +opaque 'rgb(0,30,0)' -format '%@' info:) || return 1
  h=${box#*x} # WxH+X+Y
  h=${h%%+*}
  y=${box##*+}
  echo $((y + h))
}
WINDOW_HEIGHT=820 # check_rc.bottom; without a window manager the window stands at the top-left corner
bottom_with_bands=$(panes_bottom "$ARTIFACTS/weekly_chart.png") || fail "cannot measure the panes"

# Hide the bands. The menu opens on its first item; three steps up from there are "終了(&E)", the status
# bar's item and the toolbar's.
xdotool windowfocus "$WINDOW"
sleep 0.5
xdotool key alt+v
sleep 1
xdotool key Up Up Up Return
sleep 2
import -window root "$ARTIFACTS/no_toolbar.png" || fail "no screenshot without the toolbar"
echo "e2e: screenshot in $ARTIFACTS/no_toolbar.png"
bottom=$(panes_bottom "$ARTIFACTS/no_toolbar.png") || fail "cannot measure the panes without the toolbar"
echo "e2e: the panes end at y = $bottom_with_bands with the bands, at y = $bottom without them"
# Laid out again for the taller client area, the panes end where they ended: the tabs and the status
# bar keep their rows below them (no empty strip, nothing pushed under the status bar).
[ "$bottom" -eq "$bottom_with_bands" ] || fail "the panes were not laid out again after hiding the toolbar"
[ $((WINDOW_HEIGHT - bottom)) -ge 30 ] || fail "no room for the chart tabs above the status bar"

# F12 ends the program; the settings it saves must say weekly.
xdotool windowfocus "$WINDOW"
sleep 0.5
xdotool key F12
wait_for 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end on F12"
wait "$APP_PID" 2>/dev/null
status=$?
APP_PID=""
# A sanitizer report at the end (the build of `make test-ui-asan`) shows as the exit status.
[ $status -eq 0 ] || fail "the program ended with status $status (see sorano.log)"
grep -q '^"check_ymd"=dword:00000001' "$SORANO_REGISTRY" || fail "the saved settings do not say weekly"

# A measured start ends by itself once its first chart frame is on the screen, reports its steps and
# saves nothing.
cp "$SORANO_REGISTRY" "$WORK/saved.reg"
SORANO_MEASURE_STARTUP=1 timeout 30 "$SORANO" >"$ARTIFACTS/startup.log" 2>&1 || fail "a measured start did not end by itself"
grep -E '^startup ms: qt .* series .* window .* first paint .*, total [0-9.]+/[0-9.]+$' "$ARTIFACTS/startup.log" ||
  fail "a measured start reported no steps"
cmp -s "$SORANO_REGISTRY" "$WORK/saved.reg" || fail "a measured start changed the settings file"
echo "e2e: passed"
