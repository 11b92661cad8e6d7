#!/usr/bin/env bash
# scripts/web must refuse a port it cannot serve on before it starts the
# minute of building: a test that has to wait for the build has failed.
set -euo pipefail
web="$(dirname "${BASH_SOURCE[0]}")/../../scripts/web"
failures=0

# expect STATUS MESSAGE ARGUMENT...: scripts/web ARGUMENT... exits with STATUS
# and says exactly MESSAGE.
expect() {
  local status=$1 message=$2 said rc=0
  shift 2
  said=$(timeout 10 bash "$web" "$@" 2>&1 </dev/null) || rc=$?
  if [ "$rc" -ne "$status" ] || [ "$said" != "$message" ]; then
    printf 'FAIL scripts/web %s: status %s (want %s), said:\n%s\n' "$*" "$rc" "$status" "$said"
    failures=$((failures + 1))
  fi
}

expect 2 "scripts/web: port must be from 1 to 65535, not '99999'" --port 99999
expect 2 "scripts/web: port must be from 1 to 65535, not '0'" --port=0
expect 2 "scripts/web: port must be from 1 to 65535, not '65536'" --port 65536
expect 2 "scripts/web: port must be from 1 to 65535, not '100000000000000000000'" --port 100000000000000000000

[ "$failures" -eq 0 ] || exit 1
echo "scripts/web refuses the ports it cannot serve on"
