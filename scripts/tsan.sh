#!/usr/bin/env bash
# The mail tests (the exchange's own thread, the name look-up left to finish alone, aborts from
# another thread) built with ThreadSanitizer in build-tsan/ and run; any report fails the test
# it happens in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/stage.sh

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEVRAN_TSAN=ON \
    -DKEVRAN_WERROR=ON >/dev/null
stage "thread sanitizer build" cmake --build build-tsan -j"$(nproc)" \
    --target tst_mail_MessageWriter tst_mail_SmtpClient tst_mailfaults
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
(cd build-tsan && QT_QPA_PLATFORM=offscreen stage "thread sanitizer tests" \
    ctest --output-on-failure -j"$(nproc)" -L mail)
