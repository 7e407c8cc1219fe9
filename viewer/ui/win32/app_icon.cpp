#include "ui/win32/app_icon.h"

namespace maglorin::win32 {

namespace {

// A shirt outline on a size x size square: body, short sleeves, a V collar.
void DrawShirt(HDC dc, int size, COLORREF body, COLORREF stripe) {
    auto at = [size](int x, int y) { return POINT{x * size / 32, y * size / 32}; };
    const POINT outline[] = {at(10, 3), at(13, 3), at(16, 8), at(19, 3), at(22, 3), at(31, 9), at(27, 15),
                             at(24, 13), at(24, 30), at(8, 30), at(8, 13), at(5, 15), at(1, 9)};
    BrushHandle fill(CreateSolidBrush(body));
    GdiObjectHandle pen(CreatePen(PS_SOLID, 1, RGB(20, 20, 20)));
    SelectScope selectBrush(dc, fill.Get());
    SelectScope selectPen(dc, pen.Get());
    Polygon(dc, outline, static_cast<int>(sizeof outline / sizeof outline[0]));
    BrushHandle band(CreateSolidBrush(stripe));
    const RECT stripeRect{at(14, 9).x, at(14, 9).y, at(18, 30).x, at(18, 30).y};
    FillRect(dc, &stripeRect, band.Get());
}

}  // namespace

IconHandle DrawAppIcon(int size) {
    WindowDc screen(nullptr);
    BitmapHandle colour(CreateCompatibleBitmap(screen.Get(), size, size));
    BitmapHandle mask(CreateBitmap(size, size, 1, 1, nullptr));
    MemoryDcHandle dc(CreateCompatibleDC(screen.Get()));
    if (!colour || !mask || !dc) return IconHandle();
    {
        SelectScope select(dc.Get(), colour.Get());
        RECT all{0, 0, size, size};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DrawShirt(dc.Get(), size, RGB(200, 30, 40), RGB(250, 250, 250));
    }
    {
        // Mask: white (transparent) everywhere, black where the shirt is.
        SelectScope select(dc.Get(), mask.Get());
        RECT all{0, 0, size, size};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawShirt(dc.Get(), size, RGB(0, 0, 0), RGB(0, 0, 0));
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.Get();
    info.hbmMask = mask.Get();
    return IconHandle(CreateIconIndirect(&info));
}

BitmapHandle DrawAppPicture(int size) {
    WindowDc screen(nullptr);
    BitmapHandle picture(CreateCompatibleBitmap(screen.Get(), size, size));
    MemoryDcHandle dc(CreateCompatibleDC(screen.Get()));
    if (!picture || !dc) return BitmapHandle();
    SelectScope select(dc.Get(), picture.Get());
    RECT all{0, 0, size, size};
    BrushHandle grass(CreateSolidBrush(RGB(40, 130, 60)));
    FillRect(dc.Get(), &all, grass.Get());
    DrawShirt(dc.Get(), size, RGB(30, 60, 200), RGB(240, 220, 40));
    return picture;
}

}  // namespace maglorin::win32
