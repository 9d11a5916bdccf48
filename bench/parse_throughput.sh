#!/usr/bin/env bash
# Parsing throughput of parsedemo with the bundled grammar: sentences per
# second, words per second (blank-separated words of the input) and peak
# memory, from /usr/bin/time -v.  The start-up (reading data/lorvan.lsp and
# the files it loads) is timed on an empty input and left out of the rates.
#
# Usage: bench/parse_throughput.sh [conllu-file]
# Inputs: examples/sentences.txt repeated to 1000 lines, and the first 500
# "# text = " sentences of the treebank file (default: the EWT dev set).
# Builds parsedemo into build/ when it is missing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
conllu="${1:-$root/../shared/ud-english-ewt/en_ewt-ud-dev.conllu}"
out="$here/out"
parsedemo="${PARSEDEMO_BIN:-$root/build/src/app/parsedemo}"
mkdir -p "$out"

if [ ! -x "$parsedemo" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DLORVAN_BUILD_BENCH=OFF >/dev/null
  cmake --build "$root/build" --target parsedemo >/dev/null
fi

# Runs parsedemo on $1; sets secs (wall time, best of three) and kb (peak
# RSS from /usr/bin/time -v).
run() {
  local log="$out/time.log" t0 t1 s i
  secs=""
  for i in 1 2 3; do
    t0=$(date +%s%N)
    /usr/bin/time -v "$parsedemo" -p "$root/data" -file "$1" > "$out/parse.out" 2> "$log"
    t1=$(date +%s%N)
    s=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
    if [ -z "$secs" ] || awk -v a="$s" -v b="$secs" 'BEGIN { exit !(a < b) }'; then secs=$s; fi
  done
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
}

: > "$out/empty.txt"
run "$out/empty.txt"
startup=$secs
printf 'start-up: %.3f s, %s kB peak\n' "$startup" "$kb"

report() {
  local label=$1 input=$2 lines words
  lines=$(grep -c . "$input")
  words=$(wc -w < "$input")
  run "$input"
  awk -v l="$label" -v s="$secs" -v st="$startup" -v n="$lines" -v w="$words" -v kb="$kb" 'BEGIN {
    t = s - st; if (t <= 0) t = 0.001
    printf "%s: %d sentences, %d words in %.3f s: %.0f sentences/s, %.0f words/s, %d kB peak\n",
           l, n, w, t, n / t, w / t, kb }'
}

: > "$out/examples.txt"
while [ "$(wc -l < "$out/examples.txt")" -lt 1000 ]; do
  cat "$root/examples/sentences.txt" >> "$out/examples.txt"
done
report "examples x$(( $(wc -l < "$out/examples.txt") / $(wc -l < "$root/examples/sentences.txt") ))" "$out/examples.txt"

if [ -r "$conllu" ]; then
  awk 'sub(/^# text = /, "") && ++n <= 500' "$conllu" > "$out/ewt500.txt"
  report "EWT dev, first 500" "$out/ewt500.txt"
else
  echo "cannot read $conllu: treebank run skipped" >&2
fi
