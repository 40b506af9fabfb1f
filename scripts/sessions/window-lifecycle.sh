#!/usr/bin/env bash
# The main window used as a person would, on a virtual display: open a
# diagram from the command line, drag a node, save with Ctrl+S, quit, start
# again (the node is where it was left); then drag again, wait for the
# recovery copy, kill the program, start again and restore the changes.
# Screenshots go to OUT (default ./session-window).
#   scripts/sessions/window-lifecycle.sh [OUT]
# Needs ../shared/tools/ui-drive (Xvfb, xdotool, openbox, ImageMagick) and
# a built build/test/app/dendrix.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "${1:-session-window}")
mkdir -p "$out"
U=${UI_DRIVE:-$root/../shared/tools/ui-drive}
export UI_DRIVE_SESSION=${UI_DRIVE_SESSION:-window-lifecycle}
work=$(mktemp -d)
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
app=$root/build/test/app/dendrix
plan=$work/plan.abx
cp "$root/examples/outline.abx" "$plan"

"$U" start
trap '"$U" stop || true' EXIT
"$U" run "$app" "$plan"
"$U" wait-window 'Dendrix - plan.abx'
"$U" shot "$out/1-opened.png"
# "Documentation", the last root, dragged to the right.
"$U" drag 244 447 560 500
"$U" shot "$out/2-dragged.png"
"$U" key ctrl+s
"$U" shot "$out/3-saved.png"
"$U" key ctrl+F4
"$U" wait-gone 'Dendrix - plan.abx'
"$U" run "$app" "$plan"
"$U" wait-window 'Dendrix - plan.abx'
"$U" shot "$out/4-started-again.png"
# An unsaved drag of the first root; the copy is written within a minute.
"$U" drag 227 177 450 230
sum_before=$(md5sum < "$plan")
for _ in $(seq 1 70); do
  ls "$XDG_STATE_HOME"/Dendrix/recovery/recovery-*.abx >/dev/null 2>&1 && break
  sleep 1
done
pid=$(ls "$XDG_STATE_HOME"/Dendrix/recovery/recovery-*.abx | sed 's/.*recovery-\([0-9]*\)\.abx/\1/')
kill -KILL "$pid"
"$U" wait-gone 'Dendrix - plan.abx'
"$U" run "$app" "$plan"
"$U" wait-window Confirm
"$U" shot "$out/5-restore-offered.png"
"$U" key Return
"$U" shot "$out/6-restored.png"
[ "$(md5sum < "$plan")" = "$sum_before" ] && echo "the file is as it was saved; the restored changes wait for Save"
