#!/usr/bin/env bash
# Builds the word tokenizer and runs it on the bundled sample sentences,
# each line given to it as one segment ("^ " + line).  The tokenized text
# goes to standard output, the build's messages to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >&2
cmake --build build --target token >&2
sed 's/^/^ /' data/sample/sentences.txt | build/tools/token/token
