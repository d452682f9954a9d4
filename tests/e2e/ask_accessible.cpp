// A screen reader's first question from another process: each child of Tolvane's window
// asked for its accessible object. The exit code: how many answered with their own.
#include <windows.h>

int main() {
    int answered = 0;
    HWND child = GetWindow(FindWindowW(L"TolvaneMainWindow", nullptr), GW_CHILD);
    for (DWORD_PTR object = 0; child; child = GetWindow(child, GW_HWNDNEXT), object = 0) {
        SendMessageTimeoutW(child, WM_GETOBJECT, 0, OBJID_CLIENT, SMTO_BLOCK, 5000, &object);
        answered += object > 0;
    }
    return answered;
}
