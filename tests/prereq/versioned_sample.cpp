// The sample library's only content is its version resource; this function gives the linker
// something to export.
extern "C" __declspec(dllexport) int MaglorinSampleVersion() { return 3; }
