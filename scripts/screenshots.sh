#!/usr/bin/env bash
# Takes the pictures the manual and the README show, from the real program
# under a virtual X server (Xvfb), on the example project:
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]     (defaults: build, docs/images)
# Needs Xvfb, xdotool and ImageMagick's import. Each picture is one line of
# the list at the end: a name and the user's actions that lead to it, then
# the actions that lead back to the plain main window.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/images}
app=$build/app/taviron
example=$root/data/examples/example.TPR
speakers=$root/data/examples/speakers.TSB
screen=${SCREENSHOT_SCREEN:-1280x800x24}
display=${SCREENSHOT_DISPLAY:-:87}

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
[ -x "$app" ] || { echo "screenshots: no $app (build first)" >&2; exit 1; }
mkdir -p "$out"

# A scratch home: no recent files or remembered folders of the user's own.
scratch=$(mktemp -d)
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config
export DISPLAY=$display
export LC_ALL=C.UTF-8

Xvfb "$display" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$app" "$example" >/dev/null 2>&1 &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --name "Taviron 2.90" | head -n 1)
# No window manager maximises it: the window fills the screen by hand.
xdotool windowmove "$window" 0 0 windowsize "$window" 100% 100%
sleep 2

# Without a window manager nobody hands the keyboard focus on: the newest
# visible window of the program (a dialog over the main window) takes it.
focus() {
  local top
  top=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | tail -n 1)
  xdotool windowfocus --sync "${top:-$window}" 2>/dev/null || true
}

# The centre of the drawing view, for clicks that give a point.
view_centre() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}

# Runs one action: a key ("F4", "alt+c", "Escape"), "type:TEXT",
# "click" (left click in the middle of the view), "wait:SECONDS".
act() {
  case "$1" in
    type:*) xdotool type --delay 20 "${1#type:}" ;;
    click)
      read -r cx cy < <(view_centre)
      xdotool mousemove "$cx" "$cy" click 1 ;;
    wait:*) sleep "${1#wait:}" ;;
    *) focus; xdotool key --clearmodifiers "$1" ;;
  esac
  sleep 0.6
}

# shot NAME ACTIONS... -- ACTIONS BACK...
shot() {
  local name=$1
  shift
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do act "$1"; shift; done
  [ $# -gt 0 ] && shift
  sleep 1
  import -window root "$out/$name.png"
  echo "screenshots: $out/$name.png"
  while [ $# -gt 0 ]; do act "$1"; shift; done
}

# The pictures. Menus open by their mnemonic: alt+c Calculate, alt+r Room,
# alt+l Loudspeakers; a letter then chooses the item.
shot main-window
shot rt60 alt+c s -- Escape
shot face-listing alt+r f -- Escape
shot loudspeaker-dialog alt+l Return wait:1 "type:$speakers" Return wait:1 alt+l n click -- Escape Escape
shot view-3d F4 -- F1
