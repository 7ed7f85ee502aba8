#!/usr/bin/env bash
# Starts a local lobby server for `make run`, unless the game is pointed at another host
# (MV_LOBBY_HOST) or a lobby server already listens on the lobby's port here.
build=${1:-build}
lobby="$build/bin/mv-lobby"
[ -x "$lobby" ] || exit 0
address="${MV_LOBBY_HOST:-127.0.0.1}"
host="${address%:*}"
port=3333
[ "$host" != "$address" ] && port="${address##*:}"
case "$host" in
  127.0.0.1 | localhost) ;;
  *) echo "The game looks for the lobby server at $address."; exit 0 ;;
esac
data="${XDG_DATA_HOME:-$HOME/.local/share}/Brindlecor/Mirrowvale/lobby"
if ss -Hlun "sport = :$port" 2>/dev/null | grep -q .; then
  echo "A lobby server already listens on port $port (the local one keeps its login codes in $data/outbox/)."
  exit 0
fi
mkdir -p "$data"
nohup "$lobby" --bind 127.0.0.1 --port "$port" --data-dir "$data" --outbox "$data/outbox" >"$data/lobby.log" 2>&1 &
started=$!
sleep 0.5
if ! kill -0 "$started" 2>/dev/null; then
  echo "The local lobby server did not start; see $data/lobby.log."
  exit 0
fi
echo "Started a local lobby server on 127.0.0.1 port $port."
echo "Login codes for the lobby are mailed to $data/outbox/ (one text file a mail)."
