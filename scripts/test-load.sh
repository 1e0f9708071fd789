# Sourced by the test scripts: with KORVAL_TEST_LOAD=N, keeps N busy loops
# running at normal priority for as long as the script that sourced this
# runs, so that a run proves the tests on a machine whose cores are busy:
#
#   KORVAL_TEST_LOAD=2 bash scripts/test.sh
#   KORVAL_TEST_LOAD=2 bash scripts/test-scenarios.sh
#
# The loops end by themselves once that script has ended, however it ends.
# A script started by one that already runs the load adds none of its own.
korval_test_load() {
  local loops="${KORVAL_TEST_LOAD:-0}"
  [[ "$loops" =~ ^[0-9]+$ ]] || { echo "KORVAL_TEST_LOAD must be a number of busy loops, not '$loops'" >&2; exit 2; }
  [ "$loops" -gt 0 ] && [ -z "${KORVAL_TEST_LOAD_OWNER:-}" ] || return 0
  export KORVAL_TEST_LOAD_OWNER=$$
  for _ in $(seq "$loops"); do
    (
      trap - EXIT
      while kill -0 "$KORVAL_TEST_LOAD_OWNER" 2>/dev/null; do
        for ((i = 0; i < 200000; i++)); do :; done
      done
    ) </dev/null >/dev/null 2>&1 &
  done
  echo "load: $loops busy loops run beside the tests"
}
korval_test_load
