#!/usr/bin/env bash
# Sets up a fresh Debian machine if needed, builds the app and the local service, starts the
# service on its loopback port (with a demo workspace) and runs the app against it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target halvex-service halvex -- -j"$(nproc)" 2>/dev/null \
  || cmake --build --preset default --target halvex-service -- -j"$(nproc)"

port="$(sed -n 's/^HALVEX_SERVICE_PORT:STRING=//p' build/default/CMakeCache.txt)"
service=build/default/service/src/halvex-service
app=build/default/src/ui/halvex

# Whatever ends this script (the app closing, Ctrl+C, a kill) stops what it started.
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM

if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  "$service" --port "$port" --seed-demo &
  pids+=($!)
  for _ in $(seq 1 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
fi

if [ -x "$app" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running the app on a virtual screen (xvfb)." >&2
    xvfb-run -a "$app" &
  else
    "$app" &
  fi
  pids+=($!)
  wait "${pids[-1]}"
else
  echo "The local service is running at http://127.0.0.1:$port (the desktop app is not built yet)."
  echo "Press Ctrl+C to stop it."
  wait
fi
