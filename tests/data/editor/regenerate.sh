#!/bin/sh
# Rewrites the reference images here from the editor's screenshot tests.
# Look at the new images before accepting them.
# Usage: regenerate.sh [build folder]   (default: build)
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../../build}
PENWICK_REGENERATE=1 PENWICK_SOURCE_DIR=$here/../../.. QT_QPA_PLATFORM=offscreen \
  "$build/bin/test_editor_view_widget" --gtest_filter="*Screenshot*"
