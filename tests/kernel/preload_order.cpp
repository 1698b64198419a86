// umockdev-wrapper puts its preload library ahead of the sanitizer runtime;
// the preload only wraps libc calls, so that order is harmless here.

extern "C" const char* __asan_default_options() {
    return "verify_asan_link_order=0";
}
