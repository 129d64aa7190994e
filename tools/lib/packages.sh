# shellcheck shell=bash
# Sourced by tools/install-deps and the other-release root's checks.
# package_names LIST_FILE...: the packages the lists name (tools/packages/*.txt:
# names split by blanks, a # to the line's end a comment), one a line, sorted
# and each once.
package_names() {
  cat "$@" | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u
}
