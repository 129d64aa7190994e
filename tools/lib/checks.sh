# shellcheck shell=bash
# Sourced by every test stage and end-to-end driver: named checks, counted,
# and the count lines tools/test adds up into its closing line.
#   check NAME COMMAND...        passes when COMMAND succeeds; returns its verdict
#   pass NAME, fail NAME         a verdict reached some other way
#   check_lines NAME COMMAND...  COMMAND prints "PASS ..." and "FAIL ..." lines
#                                of its own, and they count here; a count line
#                                of its own is shown indented, so it is not
#                                counted again; one that fails with no FAIL
#                                line (it crashed) counts as failed NAME;
#                                returns 1 when anything failed
#   checks_summary LABEL         prints "LABEL: P passed, F failed"; succeeds
#                                when something passed and nothing failed
#   checks_end LABEL             prints the summary and ends the script with
#                                its verdict
#   checks_abort LABEL NAME      fails NAME, then checks_end: for a step
#                                nothing after it can do without
#   checks_stage_end NAME STATUS LOG  for a stage that ended with STATUS and
#                                printed LOG: when it failed but LOG counts no
#                                failure (its build broke, a server did not
#                                start), adds "NAME: 0 passed, 1 failed" to LOG
#                                and prints it, so every failure counts once
#   checks_count FILE...         adds up the count lines in the files:
#                                "LABEL: P passed, F failed" and ctest's
#                                "N% tests passed, F tests failed out of T";
#                                prints "P F"
checks_passed=0
checks_failed=0
# A count line, as checks_summary prints it.
_checks_count_line='^[A-Za-z0-9_-]+: [0-9]+ passed, [0-9]+ failed'

pass() {
  echo "PASS $1"
  checks_passed=$((checks_passed + 1))
}

fail() {
  echo "FAIL $1"
  checks_failed=$((checks_failed + 1))
}

check() {
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name"; return 1; fi
}

check_lines() {
  local name=$1 out status failures
  shift
  out=$("$@" 2>&1)
  status=$?
  sed -E "s/$_checks_count_line/  &/" <<<"$out"
  failures=$(grep -c '^FAIL ' <<<"$out")
  checks_passed=$((checks_passed + $(grep -c '^PASS ' <<<"$out")))
  checks_failed=$((checks_failed + failures))
  [ "$status" -eq 0 ] || [ "$failures" -gt 0 ] || fail "$name"
  [ "$status" -eq 0 ] && [ "$failures" -eq 0 ]
}

checks_summary() {
  echo "$1: $checks_passed passed, $checks_failed failed"
  [ "$checks_failed" -eq 0 ] && [ "$checks_passed" -gt 0 ]
}

checks_end() {
  checks_summary "$1"
  exit $?
}

checks_abort() {
  fail "$2"
  checks_end "$1"
}

checks_stage_end() {
  local failed
  read -r _ failed < <(checks_count "$3")
  if [ "$2" -ne 0 ] && [ "$failed" -eq 0 ]; then
    echo "$1: 0 passed, 1 failed" | tee -a "$3"
  fi
}

checks_count() {
  awk -v count_line="$_checks_count_line" '
    /^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+/ {
      for (i = 1; i <= NF; i++) if ($i == "of") { total = $(i + 1) }
      for (i = 1; i <= NF; i++) if ($i == "failed") { f = $(i - 2) }
      passed += total - f; failed += f; next
    }
    $0 ~ count_line {
      sub(/^[^:]*: /, ""); passed += $1; failed += $3
    }
    END { print passed + 0, failed + 0 }
  ' "$@"
}
