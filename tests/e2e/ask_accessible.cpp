// A screen reader in another process. Alone: each child of Tolvane's window asked for its
// accessible object; the exit code, how many answered with their own. With an argument,
// while "Sure?" is open: restart pressed through its object; then, how many "Sure?" are open.
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

int main(int argc, char**) {
    int answered = 0;
    const HWND window = FindWindowW(L"TolvaneMainWindow", nullptr);
    if (argc > 1) {
        IAccessible* restart = nullptr;
        const VARIANT self{{{VT_I4, 0, 0, 0, {.lVal = CHILDID_SELF}}}};
        CoInitialize(nullptr);
        if (FAILED(AccessibleObjectFromWindow(
                FindWindowExW(window, nullptr, nullptr, L"o Restart the Computer"),
                static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                reinterpret_cast<void**>(&restart))) ||
            FAILED(restart->accDoDefaultAction(self)))
            return -1;
        Sleep(2000);  // time for a second box to open
        for (HWND box = nullptr; (box = FindWindowExW(nullptr, box, nullptr, L"Sure?"));)
            ++answered;
        return answered;
    }
    HWND child = GetWindow(window, GW_CHILD);
    for (DWORD_PTR object = 0; child; child = GetWindow(child, GW_HWNDNEXT), object = 0) {
        SendMessageTimeoutW(child, WM_GETOBJECT, 0, OBJID_CLIENT, SMTO_BLOCK, 5000, &object);
        answered += object > 0;
    }
    return answered;
}
