#!/usr/bin/env bash
# Every speed figure of the app beside its yardstick from the same run, as one table. Builds the
# benchmarks in the given build folder (default build/default), runs them one after another and
# prints the table with the load average around each part (the machine may be shared).
#   bench/run.sh [build-dir]
#   HALVEX_BENCH_UI_RUNS=N   cold starts per side (15)
#   HALVEX_BENCH_SKIP=ui     leave out the start-up part (the slowest)
#   HALVEX_BENCH_PROBE_WRAPPER="valgrind --tool=callgrind"   runs each start under a profiler
#   HALVEX_BENCH_MAPPINGS=<file>   appends each start's memory mappings to <file>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/default}"
skip="${HALVEX_BENCH_SKIP:-}"
targets=(bench_chat_live bench_chat_memory bench_richtext)
[[ "$skip" == *ui* ]] || targets+=(bench_ui)
ninja -C "$build" -j2 "${targets[@]}" >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
loads=()
load() { cut -d' ' -f1-3 /proc/loadavg; }
quiet() { grep -v 'XDG_RUNTIME_DIR' >&2 || true; }

# The live chat: appends, in-place updates and the loopback latency, in one process.
loads+=("chat $(load)")
"$build/bench/chat/bench_chat_live" --benchmark_format=json --benchmark_out="$work/live.json" \
  --benchmark_out_format=json --benchmark_min_time=1 >/dev/null 2> >(quiet)
# Memory of a chat that holds 50,000 messages (a process of its own, so nothing else is counted).
"$build/bench/chat/bench_chat_memory" >"$work/memory.txt"
# The Markdown parse against md4c, alternating passes timed in process CPU time.
loads+=("markdown $(load)")
"$build/bench/richtext/bench_richtext" --benchmark_filter='^$' >"$work/markdown.txt" 2>/dev/null
echo '{}' >"$work/ui.json"
if [[ "$skip" != *ui* ]]; then
  loads+=("start-up $(load)")
  QT_QPA_PLATFORM=offscreen "$build/bench/ui/bench_ui" --benchmark_format=json --benchmark_out="$work/ui.json" \
    --benchmark_out_format=json >/dev/null 2> >(quiet)
fi
loads+=("end $(load)")

value() { sed -n "s/^$1=//p" "$2" | head -n1; }
md_ours="$(sed -n 's/.*ours \([0-9.]*\) MB\/s.*/\1/p' "$work/markdown.txt")"
md_theirs="$(sed -n 's/.*md4c \([0-9.]*\) MB\/s.*/\1/p' "$work/markdown.txt")"
md_ratio="$(sed -n 's/.*ratio \([0-9.]*\).*/\1/p' "$work/markdown.txt")"

echo "cores: $(nproc)   load average (1, 5, 15 min) as each part began: $(IFS='|'; echo "${loads[*]}" | sed 's/|/ · /g')"
echo
jq -rn --slurpfile live "$work/live.json" --slurpfile ui "$work/ui.json" \
  --arg mdOurs "$md_ours" --arg mdTheirs "$md_theirs" --arg mdRatio "$md_ratio" \
  --arg mem5 "$(value messages_5000_mb "$work/memory.txt")" \
  --arg mem50 "$(value messages_50000_mb "$work/memory.txt")" \
  --arg text50 "$(value text_50000_mb "$work/memory.txt")" \
  --arg shown50 "$(value rows_50000 "$work/memory.txt")" '
  def bench($doc; prefix): [($doc[0].benchmarks // [])[] | select(.name | startswith(prefix))][0];
  def num(x; unit): if x == null then "—" else (x * 10 | round / 10 | tostring) + unit end;
  def ms(x): num(x; " ms");
  def mb(x): if x == null then "—" else num(x / 1024; " MB") end;
  def rate(x): if x == null then "—" else (x | round | tostring) + "/s" end;
  def us(x): if x == null then "—" else num(x; " µs") end;
  def per(b): if b == null or b.items_per_second == null then null else b.items_per_second end;
  bench($ui; "BM_AppColdStartToSidebarFrame") as $app | bench($ui; "BM_BareQuickColdStartToFrame") as $bare
  | bench($ui; "BM_BareQuickWithTextColdStartToFrame") as $text | bench($ui; "BM_BareControlsColdStartToFrame") as $controls
  | bench($ui; "BM_CachedChatOpenToFrame") as $chat | bench($ui; "BM_ScrollLongChat") as $scroll
  | bench($live; "BM_IngestAppendIntoOpenChat") as $append | bench($live; "BM_IngestAppendViewModelOnly") as $vm
  | bench($live; "BM_IngestUpdateInOpenChat") as $update | bench($live; "BM_IngestUpdateViewModelOnly") as $vmUpdate
  | bench($live; "BM_ServiceWriteToViewModel") as $latency | bench($live; "BM_LoopbackRoundTrip") as $rtt
  | "| figure | Halvex | yardstick (same run) | target |",
    "|---|---|---|---|",
    "| cold start to the first frame with the sidebar filled, median / p90 | \(ms($app.median_ms)) / \(ms($app.p90_ms)) | bare Qt Quick window \(ms($bare.median_ms)) / \(ms($bare.p90_ms)) | ≤ 1.5× bare + one round trip |",
    "| floors: the bare window with one line of text / a Quick Controls window with one label, median (peak memory) | \(ms($text.median_ms)) (\(mb($text.peak_kb))) / \(ms($controls.median_ms)) (\(mb($controls.peak_kb))) | bare Qt Quick window \(ms($bare.median_ms)) (\(mb($bare.peak_kb))) | — |",
    "| peak memory at that frame / after eight chats | \(mb($app.peak_kb)) / \(mb($chat.peak_kb)) | bare \(mb($bare.peak_kb)) | ≤ bare + 20 MB / + 30 MB |",
    "| opening a cached chat to its first frame, median / p90 | \(ms($chat.cached_median_ms)) / \(ms($chat.cached_p90_ms)) | one frame 16.7 ms | ≤ 16 ms |",
    "| stream events appended into an open 5,000-message chat, rows applied | \(rate(per($append))) | view model alone \(rate(per($vm))) | ≥ 100,000/s |",
    "| in-place updates of a step in that chat, rows applied | \(rate(per($update))) | view model alone \(rate(per($vmUpdate))) | ≥ 200,000/s |",
    "| Markdown parse with its repairs | \($mdOurs) MB/s (\($mdRatio)×) | md4c \($mdTheirs) MB/s | ≥ 1.0× |",
    "| service writes an event → view model applied, loopback, median / p99 | \(us($latency.median_us)) / \(us($latency.p99_us)) | HTTP round trip \(us($rtt.median_us)) / \(us($rtt.p99_us)) | ≤ 500 µs / ≤ 3 ms |",
    "| a turn posted → its stream event applied (the post, its store and the stream), median / p99 | \(us($latency.post_median_us)) / \(us($latency.post_p99_us)) | HTTP round trip \(us($rtt.median_us)) / \(us($rtt.p99_us)) | — |",
    "| scrolling a 5,000-message chat offscreen, frame time median / p99 | \(ms($scroll.median_ms)) / \(ms($scroll.p99_ms)) | one frame 16.7 ms | p99 ≤ 16 ms |",
    "| memory of the open chat at 5,000 / 50,000 messages (\($shown50) rows) | \($mem5) MB / \($mem50) MB | its text alone \($text50) MB | bounded |"
'
