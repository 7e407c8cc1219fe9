#pragma once
// The program's pictures drawn in code: the window icon (a football shirt) and the small picture
// shown beside the texture panel.

#include "ui/win32/win32_handles.h"

namespace maglorin::win32 {

UniqueIcon DrawAppIcon(int size);
UniqueBitmap DrawAppPicture(int size);

}  // namespace maglorin::win32
