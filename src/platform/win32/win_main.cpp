#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/win32/dll_search.h"
#include "platform/win32/main_window.h"
#include "platform/win32/win32_system.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything else can load a library; if refused, the usual search order stays.
    tolvane::win32::RestrictDllSearchToSystem32();

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    tolvane::Win32System system;
    tolvane::win32::MainWindow window(system);
    if (!window.Create(instance)) return 1;
    window.Show(showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab moves between the controls in tab order.
        if (window.Handle() && IsDialogMessageW(window.Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
