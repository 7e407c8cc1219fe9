#pragma once
// A dialog template built in memory for DialogBoxIndirectParamW: the header, then one item per
// control, each DWORD-aligned.

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace maglorin {

class DialogTemplate {
public:
    DialogTemplate(const wchar_t* caption, short width, short height) {
        Align();
        const DWORD style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        PutDword(style);
        PutDword(0);  // extended style
        countAt_ = words_.size();
        PutWord(0);   // item count, filled as items come
        PutShorts({0, 0, width, height});
        PutWord(0);   // no menu
        PutWord(0);   // the standard dialog class
        PutText(caption);
        PutWord(8);   // point size of the font
        PutText(L"MS Shell Dlg");
    }

    void Add(const wchar_t* windowClass, const wchar_t* text, int id, DWORD style, short x, short y, short cx, short cy) {
        Align();
        PutDword(style | WS_CHILD | WS_VISIBLE);
        PutDword(0);
        PutShorts({x, y, cx, cy});
        PutWord(static_cast<WORD>(id));
        PutText(windowClass);
        PutText(text);
        PutWord(0);  // no creation data
        ++words_[countAt_];
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Align() {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);
        }
    }
    void PutWord(WORD value) { words_.push_back(value); }
    void PutDword(DWORD value) {
        PutWord(LOWORD(value));
        PutWord(HIWORD(value));
    }
    void PutShorts(std::initializer_list<short> values) {
        for (const short value : values) {
            PutWord(static_cast<WORD>(value));
        }
    }
    void PutText(const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            PutWord(static_cast<WORD>(*text));
        }
        PutWord(0);
    }

    std::vector<WORD> words_;  // WORD-aligned by vector, DWORD alignment kept by Align
    std::size_t countAt_ = 0;
};

}  // namespace maglorin
