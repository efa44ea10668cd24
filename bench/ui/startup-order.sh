#!/usr/bin/env bash
# Writes cmake/startup-order.txt: the functions of ours that a start runs to the first frame with
# the sidebar filled, then those that opening chats runs, then the compiled data of the QML files
# both load, which the app's link puts together in that order (see
# cmake/HalvexStartupLayout.cmake).
# Runs the bench's app probe under callgrind twice, seeded: one start, and one start that opens
# eight chats. Run it again when start-up or the chat changes much; a stale list only costs
# memory.
#   bench/ui/startup-order.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/default}"
ninja -C "$build" -j2 bench_ui >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat >"$work/wrap" <<'WRAP'
#!/bin/sh
exec valgrind --tool=callgrind --demangle=no --callgrind-out-file="$ORDER_OUT/profile.%p" "$@" 2>"$ORDER_OUT/log.$$"
WRAP
chmod +x "$work/wrap"
# Profiles one benchmark's probe runs into $work/<name>; the last run is the counted one (the
# bench warms up with a run of its own first).
profile_run() {
  mkdir -p "$work/$1"
  ORDER_OUT="$work/$1" HALVEX_BENCH_PROBE_WRAPPER="$work/wrap" HALVEX_BENCH_UI_RUNS=1 QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="qt.qml.import.debug=true" \
    "$build/bench/ui/bench_ui" --benchmark_filter="$2" >/dev/null 2>&1
}
profile_run start BM_AppColdStartToSidebarFrame
profile_run chats BM_CachedChatOpenToFrame
last() { ls -t "$work/$1"/$2.* | head -n1; }
# Callgrind names each object and function once, as "(id) name", and by "(id)" after that.
functions_run() {
  awk -v bin="/bench_ui_probe" '
    /^c?(ob|fn)=\(/ {
      line = $0; called = substr(line, 1, 1) == "c"
      if (called) line = substr(line, 2)
      kind = substr(line, 1, 2); rest = substr(line, 5)
      id = rest; sub(/\).*/, "", id)
      name = rest
      if (sub(/^[0-9]+\) /, "", name)) names[kind, id] = name
      if (kind == "ob" && !called) object = names["ob", id]
      if (kind == "fn" && !called && substr(object, length(object) - length(bin) + 1) == bin) {
        fn = names["fn", id]; sub(/'"'"'[0-9]+$/, "", fn)
        if (fn !~ /^0x/ && !(fn in seen)) { seen[fn] = 1; print fn }
      }
    }' "$1"
}
{
  functions_run "$(last start profile)"
  functions_run "$(last chats profile)"
} >"$root/cmake/startup-order.txt"
# A QML file's compiled data is QmlCacheGeneratedCode::_0x5f_<its resource path, "/" and "." as
# "_">::qmlData; the type loader names each file it loads as it adds the file's imports.
cat "$(last start log)" "$(last chats log)" | grep -o 'addLibraryImport: qrc:/Halvex/[A-Za-z/]*\.qml' | sed 's|.*qrc:/||' | awk '!seen[$0]++' |
  while read -r file; do
    space="_0x5f_$(echo "$file" | tr '/.' '__')"
    echo "_ZN21QmlCacheGeneratedCode${#space}${space}7qmlDataE"
  done >>"$root/cmake/startup-order.txt"
# Read by every start wherever they lie: each QML module's plugin metadata (Qt reads all static
# plugins' when the engine resolves an import), the class descriptions and type names (the shell
# makes every screen's model at start) and each resource file's tree; a few hundred kilobytes in
# all. Then the other QML files' compiled data, so that it does not lie among what a start reads.
symbols="$(nm "$build/bench/ui/bench_ui_probe")"
{
  grep -oE '_ZZL[0-9]+qt_plugin_query_metadata_[A-Za-z]+vE2md|_ZL[0-9]+qt_meta_data_[A-Za-z0-9_]+|_ZN12_GLOBAL__N_1L[0-9]+qt_meta_stringdata_[A-Za-z0-9_]+E|_ZN9QtPrivate[0-9]+QMetaTypeForTypeI[A-Za-z0-9_]+E4nameE' <<<"$symbols" |
    sort -u
  echo _ZL16qt_resource_name
  echo _ZL18qt_resource_struct
  grep -oE '_ZN21QmlCacheGeneratedCode[0-9]+_0x5f_[A-Za-z0-9_]+7qmlDataE' <<<"$symbols" | sort -u
} >>"$root/cmake/startup-order.txt"
# A name listed twice keeps its first place.
awk '!seen[$0]++' "$root/cmake/startup-order.txt" >"$work/order" && cp "$work/order" "$root/cmake/startup-order.txt"
echo "$(wc -l <"$root/cmake/startup-order.txt") names in cmake/startup-order.txt"
