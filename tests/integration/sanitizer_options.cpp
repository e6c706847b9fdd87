// The end-to-end tests open a real window under the offscreen video driver,
// whose EGL keeps memory of its own until the process ends; the leak checker
// of the sanitizer build would report it as ours. The game's own code is
// leak-checked by the unit tests, which need no such window.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
