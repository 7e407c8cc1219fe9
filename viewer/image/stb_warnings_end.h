// Paired with stb_warnings_begin.h.
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
