// Default options of the sanitizer runtime for every test program of a sanitized build.
//
// GCC 12's LeakSanitizer follows the dynamic thread-local storage of loaded libraries
// through __tls_get_addr and, with glibc 2.36, reads a bogus block for one of Qt's
// plugins: its tracer crashes at exit after every test has passed. Not intercepting
// __tls_get_addr avoids that; leaks are still searched for and reported.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
