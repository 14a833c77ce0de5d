# Sourced by the build scripts: `stage NAME command...` runs the command and prints how long it
# took; with STAGE_LOG set, the line is also appended to that file (CI prints them together).
stage() {
    local name=$1 start status=0
    shift
    start=$(date +%s)
    "$@" || status=$?
    local line
    line=$(printf '%-28s %5ss%s' "$name" "$(( $(date +%s) - start ))" \
        "$([ $status -eq 0 ] || echo "  (failed: $status)")")
    echo "== stage: $line"
    [ -z "${STAGE_LOG:-}" ] || echo "$line" >>"$STAGE_LOG"
    return $status
}
