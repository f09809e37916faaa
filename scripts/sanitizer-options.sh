# Sourced by the scripts that run sanitized programs: any report ends the
# program and fails what ran it; leaks inside the system libraries Qt loads
# are suppressed (.ci/lsan.supp).
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
