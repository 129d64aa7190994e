#!/usr/bin/env bash
# Runs one end-to-end driver COUNT times in a row, each time as its stage
# does: on a fresh Xvfb, and for Windows with the prefix's Wine server stopped
# first (the program's first window then comes up slowest), for Linux with a
# fresh private session bus. Prints each run's verdict, keeps the output of a
# failed run, and ends with "PLATFORM e2e: P of COUNT runs passed".
#
# Usage: tests/e2e/repeat.sh windows|linux [COUNT]   (COUNT defaults to 10)
# Needs the built program: build/mingw/src/app/win32/quorvane.exe or
# build/dev/src/app/qt/quorvane. For a busy machine, run a load beside it.
set -uo pipefail
cd "$(dirname "$0")/../.."
platform=${1:?usage: repeat.sh windows|linux [COUNT]}
count=${2:-10}
source tools/lib/wine.sh
source tools/lib/xvfb.sh
source tools/lib/session_bus.sh
logs=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-repeat-XXXXXX")

stop_all() {
  [ "$platform" = windows ] && wine_stop
  session_bus_stop
  xvfb_stop
}
trap stop_all EXIT
trap 'exit 130' INT TERM

run_once() {
  case $platform in
    windows)
      wine_stop
      bash tests/e2e/windows/run.sh build/mingw/src/app/win32/quorvane.exe
      ;;
    linux)
      session_bus_start || return 1
      bash tests/e2e/linux/run.sh build/dev/src/app/qt/quorvane
      ;;
    *)
      echo "usage: repeat.sh windows|linux [COUNT]" >&2
      exit 2
      ;;
  esac
}

passed=0
for run in $(seq "$count"); do
  start=${EPOCHREALTIME//[.,]/}
  xvfb_start || { echo "run $run: Xvfb did not start"; continue; }
  if run_once >"$logs/run-$run.log" 2>&1; then
    verdict=passed
    passed=$((passed + 1))
    rm -f "$logs/run-$run.log"
  else
    verdict="FAILED (output in $logs/run-$run.log)"
  fi
  stop_all
  echo "run $run: $verdict in $(((${EPOCHREALTIME//[.,]/} - start) / 1000)) ms"
done
rmdir "$logs" 2>/dev/null
echo "$platform e2e: $passed of $count runs passed"
[ "$passed" -eq "$count" ]
