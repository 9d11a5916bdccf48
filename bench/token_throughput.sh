#!/usr/bin/env bash
# Throughput of the `token` word tokenizer in both modes, beside `wc -w` on
# the same input as the I/O floor.
#
# Usage: bench/token_throughput.sh [conllu-file]
# The input, built once under bench/out/, is every "# text = " sentence of
# the treebank file as a segment line ("^ " + sentence), repeated until it
# holds at least 50 MB.  Builds `token` into build/ when it is missing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
conllu="${1:-$here/../../shared/ud-english-ewt/en_ewt-ud-train.conllu}"
out="$here/out"
input="$out/token_input.txt"
token="${TOKEN_BIN:-$root/build/tools/token/token}"
min_bytes=$((50 * 1000 * 1000))

if [ ! -x "$token" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
  cmake --build "$root/build" --target token >/dev/null
fi

if [ ! -s "$input" ] || [ "$(stat -c %s "$input")" -lt "$min_bytes" ]; then
  [ -r "$conllu" ] || { echo "cannot read $conllu" >&2; exit 1; }
  mkdir -p "$out"
  sed -n 's/^# text = /^ /p' "$conllu" > "$out/segments.txt"
  [ -s "$out/segments.txt" ] || { echo "no '# text = ' lines in $conllu" >&2; exit 1; }
  : > "$input"
  while [ "$(stat -c %s "$input")" -lt "$min_bytes" ]; do
    cat "$out/segments.txt" >> "$input"
  done
  rm -f "$out/segments.txt"
fi
bytes=$(stat -c %s "$input")

# Best of three runs; prints MB/s (10^6 bytes per second).
throughput() {
  local best=""
  for _ in 1 2 3; do
    local t0 t1 ns
    t0=$(date +%s%N)
    "$@" < "$input" > /dev/null
    t1=$(date +%s%N)
    ns=$((t1 - t0))
    if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  done
  awk -v b="$bytes" -v ns="$best" 'BEGIN { printf "%8.1f MB/s  (%.3f s)\n", b / ns * 1000, ns / 1e9 }'
}

echo "input: $input ($bytes bytes)"
printf '%-22s' "wc -w";          throughput wc -w
printf '%-22s' "token";          throughput "$token"
printf '%-22s' "token -w";       throughput "$token" -w
