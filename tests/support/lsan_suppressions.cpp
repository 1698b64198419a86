// Leaks that system libraries keep for the life of the process (font and
// bus caches), reported by LeakSanitizer but not ours to free.

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
