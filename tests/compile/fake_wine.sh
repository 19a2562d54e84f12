#!/usr/bin/env bash
# Stands in for `wine BRIDGE` in the Wine session's tests: speaks the bridge's
# line protocol with answers chosen by FAKE_BRIDGE_MODE, and appends every
# request it receives to FAKE_BRIDGE_LOG.
mode=${FAKE_BRIDGE_MODE:-normal}
log=${FAKE_BRIDGE_LOG:-/dev/null}
[ "$mode" = silent ] && exec sleep 30
while IFS= read -r line; do
  printf '%s\n' "$line" >> "$log"
  case "$mode:$line" in
    garbage:HELLO) echo "hello there" ;;
    *:HELLO) echo "OK penwick-compile-bridge 2" ;;
    die:*) exit 3 ;;
    hang:EXISTS) exec sleep 30 ;;
    *:EXISTS) echo "OK 1" ;;
    *:READ) printf '%s\n' 'OK first\rback\\slash\ttab\r\r' ;;
    *:"SHORT "*) printf '%s\n' 'OK Z:\\TMP\\MISSIO~1\\HARBOU~1.MIS' ;;
    refuse:"NAME "*|refuse:"HANDOVER "*) printf '%s\n' 'REFUSED it has no short (8.3) name' ;;
    *:"NAME "*) printf '%s\n' 'OK Z:\\TMP\\MISSIO~1\\____~FKW.MIS' ;;
    *:"START "*) printf '%s\n' 'MISSING The mission compiler was not found: C:\\compiler.exe' ;;
    *:PREPARE) echo "ERR Failed to set data" ;;
    *:QUIT) echo OK; exit 0 ;;
    *) echo OK ;;
  esac
done
