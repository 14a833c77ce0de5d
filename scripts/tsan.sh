#!/usr/bin/env bash
# The tests with threads of the program's own (the mail exchange's thread, the name look-up left
# to finish alone, aborts from another thread; a data set reading its rows beside the listener to
# its first row) built with ThreadSanitizer in build-tsan/ and run. It fails on any sanitizer
# report. Under the sanitizer the exchange runs several times slower, so a test's own time bound
# may fail on a busy machine: those failures are shown but are not what this run checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/stage.sh

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEVRAN_TSAN=ON \
    -DKEVRAN_WERROR=ON >/dev/null
stage "thread sanitizer build" cmake --build build-tsan -j"$(nproc)" \
    --target tst_mail_MessageWriter tst_mail_SmtpClient tst_mailfaults tst_dataset
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp
log=build-tsan/tsan-tests.log
(cd build-tsan && QT_QPA_PLATFORM=offscreen stage "thread sanitizer tests" \
    ctest --output-on-failure -R "tst_mail|tst_dataset") >"$log" 2>&1 || true
cat "$log"
if grep -q "ThreadSanitizer" "$log"; then
    echo "ThreadSanitizer reported the above" >&2
    exit 1
fi
