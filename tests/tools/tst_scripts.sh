#!/usr/bin/env bash
# The project's own scripts, run against stand-ins for apt-get, cmake and
# the programs they start (nothing is installed or built): install-deps
# waits for apt's lock, run-main builds only the programs it runs, and
# bench/run.sh runs every benchmark before it reports one over budget.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
passed=0
failed=0
check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what" >&2
  fi
}
stub() { # path, body
  mkdir -p "$(dirname "$1")"
  printf '#!/usr/bin/env bash\n%s\n' "$2" >"$1"
  chmod +x "$1"
}

# --- install-deps.sh: another apt run holds the lists' lock twice, then lets go.
STUBS=$WORK/stubs
stub "$STUBS/apt-get" 'echo "$*" >>"$CALLS"
if [[ " $* " == *" update "* ]] && [ "$(grep -c " update" "$CALLS")" -le "${LOCKED_TIMES:-0}" ]; then
  echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)" >&2
  exit 100
fi
exit 0'
stub "$STUBS/sudo" 'exec "$@"'
export CALLS=$WORK/apt-calls
: >"$CALLS"
out=$(PATH="$STUBS:$PATH" LOCKED_TIMES=2 APT_LOCK_POLL=0 "$ROOT/tools/install-deps.sh" krml-test-no-such-package 2>&1)
status=$?
check "install-deps waits for the lock and succeeds" test "$status" -eq 0
check "install-deps says that it waits" grep -q "waiting for it" <<<"$out"
check "update tried until the lock was free" test "$(grep -c " update" "$CALLS")" -eq 3
check "install waits for dpkg's lock itself" grep -q "DPkg::Lock::Timeout=600 install -y -qq .*krml-test-no-such-package" "$CALLS"
: >"$CALLS"
PATH="$STUBS:$PATH" LOCKED_TIMES=99 APT_LOCK_POLL=1 APT_LOCK_WAIT=2 "$ROOT/tools/install-deps.sh" krml-test-no-such-package >/dev/null 2>&1
status=$?
check "install-deps gives up after APT_LOCK_WAIT" test "$status" -ne 0
check "nothing installed without the lists" test "$(grep -c " install" "$CALLS")" -eq 0

# --- run-main.sh: builds the two programs it runs, then renders every example.
BUILD=$WORK/build
stub "$STUBS/cmake" 'echo "cmake $*" >>"$CALLS"'
stub "$BUILD/apps/makeexamples/makeexamples" 'echo "makeexamples $*" >>"$CALLS"'
stub "$BUILD/apps/reportgen/reportgen" 'echo "reportgen $*" >>"$CALLS"; touch "$4"'
: >"$CALLS"
PATH="$STUBS:$PATH" BUILD_DIR=$BUILD OUT_DIR=$WORK/out "$ROOT/tools/run-main.sh" >/dev/null 2>&1
status=$?
check "run-main succeeds" test "$status" -eq 0
check "run-main builds makeexamples and reportgen only" grep -q -- "--build $BUILD .*--target makeexamples reportgen\$" "$CALLS"
check "run-main renders every example as PDF and PNG" test "$(ls "$WORK/out" | wc -l)" -eq $((2 * $(ls "$ROOT"/examples/*.lrd | wc -l)))

# --- bench/run.sh: the second generator size is over budget.
BENCH=$WORK/benchbuild/bench
stub "$BENCH/bench_generator" 'echo "generator $1 rows: 1.0 ms"; [ "$1" = 10000 ] && exit 2; exit 0'
stub "$BENCH/bench_pagination" 'echo "pagination $1 rows: 2.0 ms"'
stub "$BENCH/bench_export" 'echo "export $1 rows $2: 7.0 ms"'
stub "$BENCH/bench_designer" 'echo "designer: 3.0 ms"'
stub "$BENCH/bench_sqleditor" 'echo "sqleditor: 4.0 ms"'
stub "$BENCH/bench_dialect" 'echo "dialect $1 rows: 6.0 ms"'
stub "$BENCH/bench_expressions" 'echo "expressions $1 rows: 7.0 ms"'
stub "$BENCH/bench_access" 'echo "access $1: 5.0 ms"'
touch "$WORK/one.mdb"
out=$(BUILD_DIR=$WORK/benchbuild ACCESS_FILES=$WORK/one.mdb "$ROOT/bench/run.sh" 2>&1)
status=$?
check "bench/run.sh exits non-zero when one is over budget" test "$status" -ne 0
for figure in "generator 1000 rows" "generator 10000 rows" "generator 100000 rows" "pagination 100000 rows" \
  "export 100000 rows xlsx: 7.0" "export 100000 rows html: 7.0" "designer: 3.0" "sqleditor: 4.0" "dialect 100000 rows: 6.0" \
  "expressions 100000 rows: 7.0" "access $WORK/one.mdb: 5.0"; do
  check "bench/run.sh prints \"$figure\" after the one over budget" grep -qF "$figure" <<<"$out"
done
check "bench/run.sh names the one over budget" grep -qF "over budget: bench_generator 10000 5" <<<"$out"
stub "$BENCH/bench_generator" 'echo "generator $1 rows: 1.0 ms"'
BUILD_DIR=$WORK/benchbuild ACCESS_FILES=$WORK/one.mdb "$ROOT/bench/run.sh" >/dev/null 2>&1
check "bench/run.sh exits 0 when all are within budget" test $? -eq 0

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
