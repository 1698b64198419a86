// Leaks that system libraries keep for the life of the process (font, bus
// and Wayland display caches), reported by LeakSanitizer but not ours to
// free. Linked into AddressSanitizer builds of the tests and the programs.

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libwayland-client.so\n";
}
