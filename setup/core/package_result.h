#pragma once
// Result codes of the package reader and its integrity check. Extraction continues the same
// numbering with codes of its own; the main flow turns every code into a message.

namespace maglorin {

inline constexpr int kResultSuccess = 0;
inline constexpr int kResultReadError = 2;       // cannot open, seek or read the file
inline constexpr int kResultOutOfMemory = 3;
inline constexpr int kResultDamagedPackage = 5;  // no valid footer, or tables that cannot be

}  // namespace maglorin
