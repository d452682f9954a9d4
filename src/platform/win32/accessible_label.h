#pragma once
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

namespace tolvane::win32 {

// The action labels as Microsoft Active Accessibility and UI Automation see them: push
// buttons whose default action, "Press", does what Enter does on them.
//
// Dynamic Annotation gives a STATIC the push-button role and names its default action,
// for Active Accessibility clients and, through its MSAA proxy, UI Automation. It cannot
// give the label an action: a STATIC's standard accessible object has none, and its
// accDoDefaultAction fails whatever the annotation says (DISP_E_MEMBERNOTFOUND; Wine's,
// E_NOTIMPL). So the label also answers WM_GETOBJECT with that standard object wrapped,
// whose accDoDefaultAction posts kPressMessage to the label. UI Automation's Invoke
// pattern on such an element is that same default action.

inline constexpr UINT kPressMessage = WM_APP + 1;
inline constexpr wchar_t kPressActionName[] = L"Press";

// Annotates `label` through `services`; ClearPushButton takes the annotation off again,
// before the label is destroyed.
HRESULT AnnotateAsPushButton(IAccPropServices& services, HWND label);
HRESULT ClearPushButton(IAccPropServices& services, HWND label);

// Names `control` for assistive technology with `name` instead of its shown text (the
// heading's whole text where the label shows it shortened); ClearAccessibleName takes it
// off again.
HRESULT SetAccessibleName(IAccPropServices& services, HWND control, const wchar_t* name);
HRESULT ClearAccessibleName(IAccPropServices& services, HWND control);

// The answer to WM_GETOBJECT on `label` for its client object; 0 for any other object or
// when it cannot be made, which leaves it to the label's own procedure.
LRESULT AnswerGetObject(HWND label, WPARAM wParam, LPARAM lParam);

// The Dynamic Annotation services, or nothing where COM or oleacc cannot provide them.
class AccPropServices {
  public:
    AccPropServices();
    ~AccPropServices();
    AccPropServices(const AccPropServices&) = delete;
    AccPropServices& operator=(const AccPropServices&) = delete;
    IAccPropServices* get() const { return services_; }

  private:
    bool comInitialized_ = false;
    IAccPropServices* services_ = nullptr;
};

}  // namespace tolvane::win32
