#!/usr/bin/env bash
# Start-up figures of the interface, offscreen, against the local service: builds bench_ui in
# the given build folder (default build/default), runs it and prints a short table.
#   bench/ui/run.sh [build-dir]        HALVEX_BENCH_UI_RUNS=N sets the number of cold starts (15)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/default}"
ninja -C "$build" -j2 bench_ui >/dev/null
out="$(mktemp --suffix=.json)"
trap 'rm -f "$out"' EXIT
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$build/bench/ui/bench_ui" --benchmark_format=json --benchmark_out="$out" \
  --benchmark_out_format=json >/dev/null 2> >(grep -v 'XDG_RUNTIME_DIR' >&2)
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

jq -r --arg before "$load_before" --arg after "$load_after" '
  def bench(prefix): [.benchmarks[] | select(.name | startswith(prefix))][0];
  def ms(x): if x == null then "—" else (x * 10 | round / 10 | tostring) + " ms" end;
  def mb(x): if x == null then "—" else (x / 1024 * 10 | round / 10 | tostring) + " MB" end;
  bench("BM_AppColdStartToSidebarFrame") as $app | bench("BM_BareQuickColdStartToFrame") as $bare
  | bench("BM_CachedChatOpenToFrame") as $chat
  | "cores: \(.context.num_cpus)   load average before: \($before)   after: \($after)",
    "",
    "| figure | Halvex | bare Qt Quick |",
    "|---|---|---|",
    "| cold start to first frame, median (process start) | \(ms($app.median_ms)) | \(ms($bare.median_ms)) |",
    "| cold start to first frame, p90 | \(ms($app.p90_ms)) | \(ms($bare.p90_ms)) |",
    "| cold start, median from main() | \(ms($app.from_main_median_ms)) | \(ms($bare.from_main_median_ms)) |",
    "| peak memory at first frame (VmHWM) | \(mb($app.peak_kb)) | \(mb($bare.peak_kb)) |",
    "| peak memory after 8 chats (VmHWM / RSS) | \(mb($chat.peak_kb)) / \(mb($chat.rss_kb)) | — |",
    "| cached chat open to first frame, median / p90 | \(ms($chat.cached_median_ms)) / \(ms($chat.cached_p90_ms)) | — |",
    "| first open of a chat (history from the service), median | \(ms($chat.first_open_median_ms)) | — |",
    "",
    "cold starts: \($app.iterations) each; chats: \($chat.chats), cached opens: \($chat.cached_samples) (\($chat.late_samples) only after the service answered); messages per chat: \($chat.history_msgs_median)"
' "$out"
