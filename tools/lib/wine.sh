# shellcheck shell=bash
# Sourced by every script that runs Wine: the one place that knows which
# prefix the project uses, where Wine's programs are and how Wine is stopped.
#   WINEPREFIX           exported: the caller's, else the project's own prefix
#                        in the user's cache folder, apart from any other Wine
#   wine_program         the wine loader (Debian's wine64 puts no `wine` on PATH)
#   wine_server          wineserver, likewise
#   wine_dpi_prefix DPI  the sibling prefix whose screen is set to DPI
#                        (tools/wine-run-at-dpi makes it)
#   wine_relay_prefix    the sibling prefix whose programs run relay-traced
#                        (tools/wine-run-relay makes it)
#   wine_make_prefixes [DPI...]  makes the prefix, the relay sibling and the
#                        DPI siblings now, each start with a deadline, so a
#                        test's first window is not timed against a prefix
#                        being made
#   wine_stop            ends every Wine process of the prefix and of its
#                        siblings and waits until their servers are gone, so
#                        nothing of a run outlives it
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvane/wineprefix}"
_wine_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck disable=SC2034 # read by the scripts that source this file
wine_program=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
wine_server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

wine_dpi_prefix() {
  echo "$WINEPREFIX-${1}dpi"
}

wine_relay_prefix() {
  echo "$WINEPREFIX-relay"
}

wine_make_prefixes() {
  local dpi
  timeout 300 "$_wine_tools/wine-run" cmd /c exit >/dev/null 2>&1
  WINEPREFIX=$(wine_relay_prefix) timeout 300 "$_wine_tools/wine-run" cmd /c exit >/dev/null 2>&1
  for dpi in "$@"; do
    timeout 300 "$_wine_tools/wine-run-at-dpi" "$dpi" cmd /c exit >/dev/null 2>&1
  done
  return 0
}

wine_stop() {
  local prefix
  for prefix in "$WINEPREFIX" "$(wine_relay_prefix)" "$WINEPREFIX"-[0-9]*dpi; do
    # An unmatched pattern stands for itself; a prefix never made has no
    # server to stop.
    [ -d "$prefix" ] || continue
    WINEPREFIX=$prefix "$wine_server" -k >/dev/null 2>&1
    WINEPREFIX=$prefix timeout 30 "$wine_server" -w >/dev/null 2>&1
  done
  return 0
}
