#pragma once
// The program's pictures drawn in code: the window icon (a football shirt) and the small picture
// shown beside the texture panel.

#include "win32_handles.h"

namespace maglorin::win32 {

IconHandle DrawAppIcon(int size);
BitmapHandle DrawAppPicture(int size);

}  // namespace maglorin::win32
