#pragma once
#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>

#include <memory>
#include <string>

namespace tolvane::win32 {

// The labels as Microsoft Active Accessibility and UI Automation see them: the action
// labels as push buttons whose default action, "Press", does what Enter does on them, the
// heading by its whole text however the label shortens it.
//
// A STATIC's standard accessible object reads as static text with the shown text as its
// name, and has no action: its accDoDefaultAction fails (DISP_E_MEMBERNOTFOUND; Wine's,
// E_NOTIMPL), and Dynamic Annotation could change role and name but give it none. So each
// label answers WM_GETOBJECT itself, with its standard object wrapped: the one object says
// role, action and name, for MSAA clients and UI Automation's MSAA proxy alike, whose
// Invoke pattern is that same default action. Everything else is the standard object's.

inline constexpr UINT kPressMessage = WM_APP + 1;

struct LabelAccessibility {
    bool pushButton = false;  // whose default action posts kPressMessage to the label
    std::wstring name;        // empty: the shown text
    // False once the label is gone: objects handed out then refuse every call.
    std::shared_ptr<const bool> connected;
};

// The answer to WM_GETOBJECT on `label` for its client object; 0 for any other object or
// when it cannot be made, which leaves it to the label's own procedure. oleacc.dll is
// loaded from System32 at the first.
LRESULT AnswerGetObject(HWND label, WPARAM wParam, LPARAM lParam, LabelAccessibility as);

// COM on this thread for as long as it lives: LresultFromObject marshals the object
// through it.
class ComApartment {
  public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialized_;
};

}  // namespace tolvane::win32
