# Sourced by the test scripts: summary <ctest logs...> prints the closing line
# "N passed, N failed" over the tests of every build whose log is named.
summary() {
  cat "$@" | awk '/tests passed, [0-9]+ tests failed out of/ {
      total += $NF; failed += $(NF-4) }
    END { printf "%d passed, %d failed\n", total - failed, failed }'
}
