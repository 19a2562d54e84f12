#!/usr/bin/env bash
# Runs tests that need Wine and a display, in a Wine prefix of their own.
#   wine_test.sh setup PREFIX        create the prefix (first start of Wine)
#   wine_test.sh run PREFIX CMD...   run CMD with that prefix on a virtual display
#   wine_test.sh cleanup PREFIX      end the prefix's processes, remove it
# Exits 77 (skipped) with a message when Wine, Xvfb or the cross compiler is
# not installed; anything else that goes wrong is a failure.
set -u
mode=$1
prefix=$2
shift 2

missing=
command -v wine >/dev/null 2>&1 || missing="$missing wine"
command -v xvfb-run >/dev/null 2>&1 || missing="$missing xvfb-run (package xvfb)"
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || missing="$missing x86_64-w64-mingw32-g++-posix (package g++-mingw-w64-x86-64-posix)"
if [ -n "$missing" ]; then
  echo "SKIPPED: the Windows compile tests need:$missing"
  exit 77
fi

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=d"
case $mode in
  setup)
    rm -rf "$prefix"
    mkdir -p "$prefix"
    # The prefix is made on a display: Wine's first start opens windows.
    xvfb-run -a wineboot -i >/dev/null 2>&1
    rc=$?
    wineserver -w
    [ $rc = 0 ] || { echo "wineboot failed ($rc)"; exit 1; }
    ;;
  run)
    [ -d "$prefix" ] || { echo "no Wine prefix at $prefix (the setup test did not run)"; exit 1; }
    for file in "$@"; do
      case $file in
        *.exe) [ -f "$file" ] || { echo "not built: $file"; exit 1; } ;;
      esac
    done
    xvfb-run -a "$@"
    rc=$?
    # No Wine process of this run may outlive it (the display is gone).
    wineserver -k 2>/dev/null
    exit $rc
    ;;
  cleanup)
    wineserver -k 2>/dev/null
    rm -rf "$prefix"
    ;;
  *)
    echo "unknown mode $mode"
    exit 2
    ;;
esac
