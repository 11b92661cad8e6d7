#!/usr/bin/env bash
# tests/web/install runs npm ci where the modules are missing or
# package-lock.json has changed since, and only there. The npm here is a
# stand-in that notes each call and installs nothing.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$(dirname "${BASH_SOURCE[0]}")/../web/install" "$work/"
mkdir "$work/bin"
cat >"$work/bin/npm" <<STANDIN
#!/bin/sh
rm -rf node_modules && mkdir node_modules && echo "\$*" >>"$work/calls"
STANDIN
chmod +x "$work/bin/npm"
: >"$work/calls"
failures=0

# step LOCK CALLS WHAT: with package-lock.json holding LOCK, an install
# leaves npm called CALLS times in all.
step() {
  echo "$1" >"$work/package-lock.json"
  PATH="$work/bin:$PATH" bash "$work/install" >/dev/null
  local calls
  calls=$(wc -l <"$work/calls")
  if [ "$calls" -ne "$2" ]; then
    echo "FAIL $3: npm called $calls times in all, want $2"
    failures=$((failures + 1))
  fi
}

step '{"lock": 1}' 1 "no modules yet"
step '{"lock": 1}' 1 "the same lock again"
step '{"lock": 2}' 2 "a changed lock"
step '{"lock": 2}' 2 "the changed lock again"

[ "$failures" -eq 0 ] || exit 1
echo "tests/web/install runs npm ci exactly when the lock has changed"
