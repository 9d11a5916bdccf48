#!/usr/bin/env bash
# Builds parsedemo and parses the bundled example sentences with the bundled
# English grammar (data/lorvan.lsp and the files it loads): one dependency
# listing per line of examples/sentences.txt on standard output, the build's
# messages on standard error.  Extra arguments go to parsedemo, e.g. -t for
# triples.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
cmake -S . -B build -G Ninja -DLORVAN_BUILD_BENCH=OFF >&2
cmake --build build --target parsedemo >&2
build/src/app/parsedemo -p data "$@" -file examples/sentences.txt
