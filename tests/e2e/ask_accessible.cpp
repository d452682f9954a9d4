// A screen reader in another process, while "Sure?" is open: restart pressed through its
// accessible object, as only the program's own object can. The exit code: how many "Sure?"
// boxes are open then, or 255 when the press failed.
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

int main() {
    IAccessible* restart = nullptr;
    const VARIANT self{{{VT_I4, 0, 0, 0, {.lVal = CHILDID_SELF}}}};
    const HWND window = FindWindowW(L"TolvaneMainWindow", nullptr);
    CoInitialize(nullptr);
    if (FAILED(AccessibleObjectFromWindow(
            FindWindowExW(window, nullptr, nullptr, L"o Restart the Computer"),
            static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
            reinterpret_cast<void**>(&restart))) ||
        FAILED(restart->accDoDefaultAction(self)))
        return -1;
    Sleep(2000);  // time for a second box to open
    int boxes = 0;
    for (HWND box = nullptr; (box = FindWindowExW(nullptr, box, nullptr, L"Sure?"));) ++boxes;
    return boxes;
}
