#!/bin/sh
# Rewrites the expected HTML pages of every script here (and of the new-script
# template, tests/data/app/template.mis) with penwick-cli export-html. Check
# the differences line by line before accepting them.
# Usage: regenerate.sh [path/to/penwick-cli]   (default: build/bin/penwick-cli)
set -e
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../../../../build/bin/penwick-cli}
for script in "$here"/*.mis "$here/../../app/template.mis"; do
  "$cli" export-html "$script" "$here/$(basename "${script%.mis}").html"
done
