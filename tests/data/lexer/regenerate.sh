#!/bin/sh
# Rewrites the expected outputs here from the lexer-file tests. Check the
# differences by hand before accepting them.
# Usage: regenerate.sh [build folder]   (default: build)
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../../build}
PENWICK_REGENERATE=1 PENWICK_SOURCE_DIR=$here/../../.. "$build/bin/test_lexer_file" --gtest_filter="*Golden*"
