#!/usr/bin/env bash
# Builds Vosmira with AddressSanitizer (leak checks included) and
# UndefinedBehaviorSanitizer into build-sanitize/ and runs every test there;
# any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
export VOSMIRA_BUILD_DIR=build-sanitize VOSMIRA_SANITIZE=ON
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
bash scripts/test.sh "$@"
