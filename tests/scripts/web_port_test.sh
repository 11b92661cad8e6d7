#!/usr/bin/env bash
# scripts/web must refuse a port it cannot serve on, out of range or busy,
# before it starts the minute of building: a test that has to wait for the
# build has failed.
set -euo pipefail
web="$(dirname "${BASH_SOURCE[0]}")/../../scripts/web"
failures=0

# expect STATUS MESSAGE ARGUMENT...: scripts/web ARGUMENT... exits with STATUS
# and says exactly MESSAGE.
expect() {
  local status=$1 message=$2 said rc=0
  shift 2
  said=$(timeout 30 bash "$web" "$@" 2>&1 </dev/null) || rc=$?
  if [ "$rc" -ne "$status" ] || [ "$said" != "$message" ]; then
    printf 'FAIL scripts/web %s: status %s (want %s), said:\n%s\n' "$*" "$rc" "$status" "$said"
    failures=$((failures + 1))
  fi
}

expect 2 "scripts/web: port must be from 1 to 65535, not '99999'" --port 99999
expect 2 "scripts/web: port must be from 1 to 65535, not '0'" --port=0
expect 2 "scripts/web: port must be from 1 to 65535, not '65536'" --port 65536
expect 2 "scripts/web: port must be from 1 to 65535, not '100000000000000000000'" --port 100000000000000000000

# A port some other program listens on, held until this script ends and
# with it the holder's input.
coproc holder {
  python3 -c '
import socket, sys
for port in range(18100, 18200):
    held = socket.socket()
    try:
        held.bind(("127.0.0.1", port))
        break
    except OSError:
        held.close()
else:
    sys.exit("no free port in 18100-18199")
held.listen()
print(port, flush=True)
sys.stdin.read()
'
}
read -r busy <&"${holder[0]}"
expect 1 "scripts/web: port $busy is busy on 127.0.0.1 (choose another with --port N)" --port "$busy"

[ "$failures" -eq 0 ] || exit 1
echo "scripts/web refuses the ports it cannot serve on"
