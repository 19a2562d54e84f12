#!/bin/sh
# Rewrites the expected token and fold listings of every script here with
# penwick-cli. Check the differences by hand before accepting them.
# Usage: regenerate.sh [path/to/penwick-cli]   (default: build/bin/penwick-cli)
set -e
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../../../build/bin/penwick-cli}
for script in "$here"/*.mis; do
  base=${script%.mis}
  "$cli" tokens "$script" > "$base.tokens"
  "$cli" folds "$script" > "$base.folds"
done
