// A screen reader's first question, from another process: each child of Tolvane's window
// asked for its accessible object. The exit code counts the children that answered with
// their own.
#include <windows.h>

int main() {
    const HWND window = FindWindowW(L"TolvaneMainWindow", nullptr);
    int answered = 0;
    for (HWND child = window ? GetWindow(window, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(child, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT),
                            SMTO_ABORTIFHUNG, 5000, &result);
        answered += result > 0;
    }
    return answered;
}
