# Sourced by the end-to-end benchmark scripts: the program to time ($1, else a Release build in
# build/bench-release), a work folder removed at exit, and start_quote_service FOLDER, which
# serves the price files of FOLDER on a free loopback port, sets $port and stops at exit.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="${1:-}"
if [[ -z "$program" ]]; then
  cmake -S "$root" -B "$root/build/bench-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCOTALYS_BUILD_TESTS=OFF > /dev/null
  cmake --build "$root/build/bench-release" --target cotalys -j2 > /dev/null
  program="$root/build/bench-release/src/cotalys"
fi

work="$(mktemp -d)"
server=""
cleanup() {
  if [[ -n "$server" ]]; then
    kill -INT "$server" 2> /dev/null || true
    wait "$server" 2> /dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

start_quote_service() {
  port=$((20000 + RANDOM % 20000))
  "$program" serve-quotes --data "$1" --port "$port" > "$work/server.txt" 2>&1 &
  server=$!
  for _ in $(seq 1 200); do
    grep -q "Ctrl+C" "$work/server.txt" 2> /dev/null && break
    sleep 0.1
  done
}
