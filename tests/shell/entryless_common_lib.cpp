// Test stand-in for a libQyCommon.so that loads but has no SendMsg.
extern "C" __attribute__((visibility("default"))) int NotTheEntry() { return 42; }
