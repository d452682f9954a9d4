// A screen reader in another process: restart pressed through its accessible object, as only
// the program's own object can. The exit code: 0 once pressed.
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

int main() {
    IAccessible* restart = nullptr;
    const VARIANT self{{{VT_I4, 0, 0, 0, {.lVal = CHILDID_SELF}}}};
    CoInitialize(nullptr);
    return FAILED(AccessibleObjectFromWindow(
               FindWindowExW(FindWindowW(L"TolvaneMainWindow", nullptr), nullptr, nullptr,
                             L"o Restart the Computer"),
               static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
               reinterpret_cast<void**>(&restart))) ||
           FAILED(restart->accDoDefaultAction(self));
}
