// Sanitizer settings built into every test binary, so that a test behaves the same from
// ctest, from the shell or from a debugger.

extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=0:strict_string_checks=1";
}

extern "C" const char* __lsan_default_options() {
    return "suppressions=" KESTRUN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
