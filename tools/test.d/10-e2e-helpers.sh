#!/usr/bin/env bash
# The helpers both end-to-end stages stand on (starting Xvfb, waiting with a
# deadline, finding and focusing the window, reading the clipboard), tested
# on their own before the stages use them.
set -uo pipefail
cd "$(dirname "$0")/../.."
bash tests/e2e/x11_test.sh
