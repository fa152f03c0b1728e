// A library named libPlexor.so that exports no entry.
extern "C" __attribute__((visibility("default"))) int NotTheEntry() { return 0; }
