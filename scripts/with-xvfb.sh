#!/usr/bin/env bash
# Runs a command under a private Xvfb server on a free display number, and stops the
# server afterwards whatever happens. Usage: scripts/with-xvfb.sh COMMAND [ARGS...]
set -euo pipefail

size="${KESTRUN_XVFB_SCREEN:-1600x1200x24}"
fifo_dir="$(mktemp -d)"
mkfifo "$fifo_dir/display"

Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$fifo_dir/display" 2>"$fifo_dir/xvfb.log" &
xvfb_pid=$!

cleanup() {
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$fifo_dir"
}
trap cleanup EXIT INT TERM

display_number=""
if ! read -r -t 20 display_number <"$fifo_dir/display" || [ -z "$display_number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$fifo_dir/xvfb.log" >&2 || true
    exit 1
fi
export DISPLAY=":$display_number"
"$@"
