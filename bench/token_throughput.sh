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

# Best of three runs of "${@:2}" on the input, labelled $1; sets mbps
# (10^6 bytes/second) and prints it.
throughput() {
  local label=$1 best="" t0 t1 ns
  shift
  for _ in 1 2 3; do
    t0=$(date +%s%N)
    "$@" < "$input" > /dev/null
    t1=$(date +%s%N)
    ns=$((t1 - t0))
    if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  done
  mbps=$(awk -v b="$bytes" -v ns="$best" 'BEGIN { printf "%.1f", b / ns * 1000 }')
  printf '%-10s %8s MB/s  (%.3f s)\n' "$label" "$mbps" "$(awk -v ns="$best" 'BEGIN { print ns / 1e9 }')"
}

echo "input: $input ($bytes bytes)"
throughput "wc -w" wc -w; floor=$mbps
throughput "token" "$token"; blanks=$mbps
throughput "token -w" "$token" -w; spans=$mbps
awk -v f="$floor" -v b="$blanks" -v s="$spans" \
  'BEGIN { printf "relative to wc -w: token %.2f, token -w %.2f\n", b / f, s / f }'
