#!/usr/bin/env bash
# The documents point at what is there: every relative link and image of
# README.md, CONTRIBUTING.md, CHANGELOG.md and docs/ resolves, and every
# tools/ command they name exists (tests/docs/check_docs.py). Builds nothing.
# Ends with "docs: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
source tools/lib/checks.sh
check_lines "the documents' check ran to its end" /usr/bin/python3 tests/docs/check_docs.py "$PWD"
checks_end docs
