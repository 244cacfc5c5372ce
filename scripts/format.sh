#!/usr/bin/env bash
# Formats every C++ file of the tree in place with the project's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
find platform installer scene tests tools bench fuzz -name '*.cpp' -o -name '*.h' | xargs -r clang-format -i
