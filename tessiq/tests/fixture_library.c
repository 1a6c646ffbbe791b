/* A shared library that exports none of the signal library's functions; the binding tests put
 * it where libsigmora.so is expected. */
__attribute__((visibility("default"))) int tessiq_fixture_marker(void) { return 1; }
