#!/usr/bin/env bash
# korvahost in a real window on an X server, driven with xdotool as a person
# drives it (the server's own pointer and keyboard, through XTEST), and judged
# by the event log korvahost prints and by screenshots of the screen.
#   drive_korvahost.sh KORVAHOST FORMS_DIR OUT_DIR colors|spin|pages|pane
# Exits 77 (skipped) when no X server answers on DISPLAY.
set -uo pipefail
host=$1 forms=$2 out=$3 what=$4

if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "skipped: no X server answers on DISPLAY='${DISPLAY:-}' (scripts/test starts Xvfb)"
  exit 77
fi
mkdir -p "$out"
log=$out/$what.log
QT_QPA_PLATFORM=xcb "$host" "$forms/$what.form" --print-windows >"$log" 2>"$out/$what.err" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# Waits up to 5 s for a line of the log that holds the fixed string $1.
logged() {
  for _ in $(seq 100); do
    grep -qF -- "$1" "$log" && return 0
    kill -0 $pid 2>/dev/null || break
    sleep 0.05
  done
  return 1
}
expect() { logged "$1" || fail "no '$1' in the log"; }
# The line count now, and the lines after such a count.
mark() { wc -l <"$log"; }
since() { tail -n +"$(($1 + 1))" "$log"; }
# "window NAME = (l,t)-(r,b) visible" -> "l t r b"
rect() { sed -n "s/^window $1 = (\([-0-9]*\),\([-0-9]*\))-(\([-0-9]*\),\([-0-9]*\)).*/\1 \2 \3 \4/p" "$log"; }
centre() {
  read -r l t r b <<<"$(rect "$1")"
  echo $(((l + r) / 2)) $(((t + b) / 2))
}
# The pointer glides there in steps, as a hand moves it.
glide() {
  local x0 y0 i
  eval "$(xdotool getmouselocation --shell)"
  x0=$X y0=$Y
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x0 + ($1 - x0) * i / 8)) $((y0 + ($2 - y0) * i / 8))
    sleep 0.01
  done
  sleep 0.1
}
shot() {
  sleep 0.3 # let the last repaint reach the server
  import -window root "$out/$what-$1.png" || fail "no screenshot $1"
  local colours
  colours=$(convert "$out/$what-$1.png" -format %k info: 2>/dev/null || echo 0)
  [ "${colours:-0}" -gt 8 ] || fail "screenshot $1 is blank ($colours colours)"
}
# Pixels of shot $1 inside the rectangle "l t r b" that differ from shot $2.
differing() {
  read -r l t r b <<<"$3"
  local g=$((r - l))x$((b - t))+$l+$t
  convert "$out/$what-$1.png" -crop "$g" +repage "$out/crop-a.png"
  convert "$out/$what-$2.png" -crop "$g" +repage "$out/crop-b.png"
  compare -metric AE "$out/crop-a.png" "$out/crop-b.png" null: 2>&1 | cut -d' ' -f1
}
# The centre "x y" of the pixels of colour $2 (#RRGGBB) in shot $1 within "l t r b".
find_colour() {
  read -r l t r b <<<"$3"
  convert "$out/$what-$1.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage txt:- |
    awk -v c="$2" -v l="$l" -v t="$t" -F'[,: ]+' \
      'index($0, c) { n++; sx += $1; sy += $2 } END { if (n) printf "%d %d\n", l + sx / n, t + sy / n }'
}

xdotool search --sync --onlyvisible --name "^$what.form - korvahost$" >/dev/null &
finder=$!
for _ in $(seq 100); do kill -0 $finder 2>/dev/null || break; sleep 0.05; done
kill $finder 2>/dev/null && { echo "FAIL: korvahost showed no window"; cat "$out/$what.err"; exit 1; }
logged "window " || { echo "FAIL: korvahost printed no window rectangles"; exit 1; }
win=$(xdotool search --onlyvisible --name "^$what.form - korvahost$" | head -1)
xdotool windowfocus --sync "$win"
xdotool mousemove 5 5
sleep 0.2
shot start

case $what in
colors)
  read -r cx cy <<<"$(centre C)"
  read -r _ _ cr cb <<<"$(rect C)"
  glide "$cx" "$cy"
  expect "event C.MouseOut("
  n=$(mark)
  xdotool click 1
  logged "event C.Click()" || fail "a click on the hovered button raised no Click"
  since "$n" | grep -q "event C.MouseDown(1," || fail "no MouseDown(1, ...) for the click"
  shot open
  # The panel opens below the button, right edges lined up: its RED and YELLOW cells show.
  panel="0 $cb $((cr + 20)) $((cb + 420))"
  read -r rx ry <<<"$(find_colour open '#FF0000' "$panel")"
  read -r yx yy <<<"$(find_colour open '#FFFF00' "$panel")"
  if [ -n "${rx:-}" ] && [ -n "${yx:-}" ]; then
    xdotool mousemove "$rx" "$ry"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    xdotool mousemove $(((rx + yx) / 2)) $(((ry + yy) / 2))
    sleep 0.1
    xdotool mousemove "$yx" "$yy"
    sleep 0.1
    xdotool mouseup 1
    expect "event C.Change(255)"
    expect "event C.Change(65535)"
  else
    fail "the drop-down is not on the screen (no RED and YELLOW cells below the button)"
  fi
  # Hover the button again, then leave it for the pane: the pane takes the click.
  glide "$cx" "$cy"
  read -r px py <<<"$(centre P)"
  glide "$px" "$py"
  xdotool click 1
  logged "event P.Click()" || fail "a click on the pane after hovering the button did not reach the pane"
  ;;
spin)
  read -r l t r b <<<"$(rect S)"
  glide $((l + 10)) $(((t + b) / 2))
  xdotool click 1
  xdotool key End
  xdotool type --delay 50 23
  expect "event S.KeyPress(50)"
  expect "event S.KeyPress(51)"
  expect "event S.Change()"
  xdotool key Up
  expect "event S.DownClick()"
  shot typed
  n=$(mark)
  xdotool click 3
  sleep 0.3
  shot right
  since "$n" | grep -q "event S.MouseUp(2," || fail "a right click raised no MouseUp(2, ...)"
  # A context menu would cover the screen below and right of the pointer;
  # the band between the control and the status line shows nothing else.
  menu="$((l + 5)) $((b + 5)) $((l + 200)) $((b + 100))"
  [ "$(differing typed right "$menu")" = 0 ] || fail "a right click opened a menu"
  xdotool key Escape
  ;;
pages)
  read -r l t r b <<<"$(rect T)"
  # The first tab starts at the left edge; the strip is the top 23 pixels.
  xdotool click 1 # on nothing: focus stays in the window
  glide $((l + 60)) $((t + 11))
  shot hover
  [ "$(differing start hover "$l $t $r $((t + 23))")" != 0 ] || fail "hovering the strip changed no tab's look"
  xdotool click 1
  expect 'event T.Click("Two")'
  glide $((l + 8)) $((t + 11))
  xdotool click 1
  expect 'event T.Click("One")'
  xdotool key Right
  logged 'event T.Click("Two")' && [ "$(grep -cF 'event T.Click("Two")' "$log")" -ge 2 ] ||
    fail "Right on the focused strip did not step to tab Two"
  ;;
pane)
  read -r l t r b <<<"$(rect P)"
  glide $(((l + r) / 2)) $(((t + b) / 2))
  shot hover
  xdotool mousedown 1
  shot pressed
  xdotool mouseup 1
  expect "event P.Click()"
  glide 5 5
  sleep 0.3 # the leave check runs every 100 ms
  shot left
  [ "$(differing start hover "$l $t $r $b")" != 0 ] || fail "hovering did not highlight the pane"
  [ "$(differing hover pressed "$l $t $r $b")" != 0 ] || fail "pressing did not show the pressed look"
  [ "$(differing start left "$l $t $r $b")" = 0 ] || fail "leaving did not restore the normal look"
  ;;
esac

echo "log:"
sed 's/^/  /' "$log"
[ "$failures" -eq 0 ] && echo "passed: $what driven through the X server" && exit 0
echo "$failures check(s) failed; screenshots in $out"
exit 1
