#!/usr/bin/env bash
# Starts a local lobby server for `make run` when none is listening yet.
build=${1:-build}
lobby="$build/bin/mv-lobby"
[ -x "$lobby" ] || exit 0
[ -n "${MV_LOBBY_HOST:-}" ] && [ "$MV_LOBBY_HOST" != "127.0.0.1" ] && exit 0
if pgrep -x mv-lobby >/dev/null 2>&1; then exit 0; fi
data="${XDG_DATA_HOME:-$HOME/.local/share}/Brindlecor/Mirrowvale/lobby"
mkdir -p "$data"
nohup "$lobby" --bind 127.0.0.1 --data-dir "$data" --outbox "$data/outbox" >"$data/lobby.log" 2>&1 &
echo "Started a local lobby server (outbox: $data/outbox)."
