#!/usr/bin/env bash
# The viewer in a real X server: it paints the read-me (dark text on a light page), a drag
# from the left margin selects its first lines, Ctrl+C puts their text on the clipboard, a
# click on a link is reported, and Ctrl+Q ends it without an error.
# Every wait has a time limit, so a broken viewer fails the test instead of hanging it.
#
#   viewer_test.sh VIEWER README_PGF README_SOURCE
set -euo pipefail
viewer=$1 readme=$2 source=$3
python=${PYTHON:-python3}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid='' viewer_pid=''

cleanup() {
  if [ -n "$viewer_pid" ]; then kill "$viewer_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/viewer.err" ]; then sed 's/^/viewer: /' "$work/viewer.err" >&2; fi
  exit 1
}

# The first word of the read-me's first heading, which the selection starts with.
word=$(sed -n 's/^# *//p' "$source" | head -1 | awk '{print $1}')
[ -n "$word" ] || fail "no heading in $source"

# A server of our own on a free display: it writes the number there once it takes clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  if grep -q '^[0-9]' "$work/display"; then break; fi
  sleep 0.1
done
grep -q '^[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=":$(head -1 "$work/display")"
export DISPLAY

# The X session's libraries (D-Bus among them) leave allocations behind at exit, which
# LeakSanitizer would report in sanitized builds; the widget's own memory is checked by the
# unit tests, and other sanitizer errors still fail the viewer.
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb timeout 50 "$viewer" "$readme" \
  >"$work/viewer.out" 2>"$work/viewer.err" &
viewer_pid=$!

title=$(basename "$readme")
wid=$(timeout 20 xdotool search --sync --onlyvisible --name "^${title//./\\.}\$" | head -1) || true
[ -n "$wid" ] || fail "no window titled $title"
eval "$(xdotool getwindowgeometry --shell "$wid")"  # X, Y, WIDTH, HEIGHT

# Painted: mostly light, with enough dark pixels for text.
painted=''
for _ in $(seq 20); do
  xwd -root -silent >"$work/screen.xwd"
  light=0 dark=0 total=0 box=''
  eval "$("$python" "$here/screen_check.py" "$work/screen.xwd" "$X" "$Y" "$WIDTH" "$HEIGHT")"
  if [ "$light" -gt $((total / 2)) ] && [ "$dark" -gt 500 ]; then
    painted=yes
    break
  fi
  sleep 0.3
done
[ -n "$painted" ] || fail "the window shows no text (light $light, dark $dark of $total pixels)"

# From the left margin beside the first line of text, down and right over a few lines.
read -r _left top _right _bottom <<<"$box"
timeout 5 xdotool windowfocus --sync "$wid" || true
timeout 10 xdotool mousemove $((X + 2)) $((top + 8)) sleep 0.1 mousedown 1 sleep 0.1 \
  mousemove $((X + WIDTH / 4)) $((top + 30)) sleep 0.1 \
  mousemove $((X + WIDTH / 2)) $((top + 50)) sleep 0.1 mouseup 1 sleep 0.2 key ctrl+c ||
  fail "xdotool could not drag"

copied=''
for _ in $(seq 10); do
  copied=$(timeout 2 xclip -o -selection clipboard 2>/dev/null) || true
  if [[ $copied == *"$word"* ]]; then break; fi
  sleep 0.3
done
[[ $copied == *"$word"* ]] || fail "the clipboard holds '${copied:0:200}', without '$word'"
kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended early"

# The links are at the read-me's end (green): a click on the first one is reported.
timeout 5 xdotool key End || fail "xdotool could not press End"
green_box=''
for _ in $(seq 20); do
  xwd -root -silent >"$work/screen.xwd"
  green_box=''
  eval "$("$python" "$here/screen_check.py" "$work/screen.xwd" "$X" "$Y" "$WIDTH" "$HEIGHT")"
  if [ -n "$green_box" ]; then break; fi
  sleep 0.3
done
[ -n "$green_box" ] || fail "no link in sight at the end of the document"
read -r gl gt _gr gb <<<"$green_box"
timeout 5 xdotool mousemove $((gl + 4)) $(((gt + gb) / 2)) sleep 0.2 click 1 || fail "xdotool could not click"
jumped=''
for _ in $(seq 20); do
  if grep -q '^jump 0$' "$work/viewer.out"; then jumped=yes; break; fi
  sleep 0.1
done
[ -n "$jumped" ] || fail "a click on the link was not reported (stdout: $(head -c 200 "$work/viewer.out"))"

# Ctrl+Q ends it cleanly.
xdotool key ctrl+q
for _ in $(seq 100); do
  if ! kill -0 "$viewer_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
status=0
kill -0 "$viewer_pid" 2>/dev/null && fail "the viewer did not quit on Ctrl+Q"
wait "$viewer_pid" || status=$?
viewer_pid=''
[ "$status" -eq 0 ] || fail "the viewer ended with status $status"
echo "ok: painted ($dark dark pixels), copied '${copied:0:40}...', followed a link, quit"
