// Included before an stb header: its implementation is compiled with its own warnings tolerated.
// (No include guard: it is meant to be included more than once, paired with stb_warnings_end.h.)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wduplicated-branches"
#endif
#endif
