#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <atomic>
#include <type_traits>
#include <utility>

#include "platform/win32/accessible_label.h"
#include "platform/win32/dll_search.h"

namespace tolvane::win32 {
namespace {

constexpr wchar_t kPressActionName[] = L"Press";

// oleacc.dll is not among the DLLs Windows always takes from System32, so it is loaded
// from there on first need rather than imported, and kept: objects handed out call into it.
struct Oleacc {
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
};
const Oleacc& OleaccFunctions() {
    static const Oleacc functions = [] {
        Oleacc loaded;
        const HMODULE module = SystemLibrary(L"oleacc.dll");
        if (!module) return loaded;
        const auto find = [module](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                reinterpret_cast<void*>(GetProcAddress(module, name)));
        };
        find(loaded.createStdAccessibleObject, "CreateStdAccessibleObject");
        find(loaded.lresultFromObject, "LresultFromObject");
        return loaded;
    }();
    return functions;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// COM objects are deleted by their own Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The label's standard accessible object, with what `as` says of the label in place of
// its own answers.
class AccessibleLabel final : public IAccessible, public IOleWindow {
  public:
    AccessibleLabel(HWND label, IAccessible* standard, LabelAccessibility as)
        : label_(label), standard_(standard), as_(std::move(as)) {}
    AccessibleLabel(const AccessibleLabel&) = delete;
    AccessibleLabel& operator=(const AccessibleLabel&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IOleWindow)) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IOleWindow, so that WindowFromAccessibleObject finds the label.
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        if (Gone()) return CO_E_OBJNOTCONNECTED;
        *window = label_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        return Forward(&IAccessible::GetTypeInfoCount, count);
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return Forward(&IAccessible::GetTypeInfo, index, locale, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override {
        return Forward(&IAccessible::GetIDsOfNames, iid, names, count, locale, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return Forward(&IAccessible::Invoke, id, iid, locale, flags, params, result, exception,
                       argument);
    }

    // IAccessible
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child) || !as_.pushButton || Gone())
            return Forward(&IAccessible::accDoDefaultAction, child);
        // Posted: the confirmation is modal, and the client must not wait for its answer.
        return PostMessageW(label_, kPressMessage, 0, 0) ? S_OK : E_FAIL;
    }
    STDMETHODIMP get_accParent(IDispatch** parent) override {
        return Forward(&IAccessible::get_accParent, parent);
    }
    STDMETHODIMP get_accChildCount(long* count) override {
        return Forward(&IAccessible::get_accChildCount, count);
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override {
        return Forward(&IAccessible::get_accChild, child, dispatch);
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child) || as_.name.empty() || Gone())
            return Forward(&IAccessible::get_accName, child, name);
        return Answer(as_.name.c_str(), name);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        return Forward(&IAccessible::get_accValue, child, value);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
        return Forward(&IAccessible::get_accDescription, child, description);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || !as_.pushButton || Gone())
            return Forward(&IAccessible::get_accRole, child, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        return Forward(&IAccessible::get_accState, child, state);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
        return Forward(&IAccessible::get_accHelp, child, help);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return Forward(&IAccessible::get_accKeyboardShortcut, child, shortcut);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override {
        return Forward(&IAccessible::get_accFocus, child);
    }
    STDMETHODIMP get_accSelection(VARIANT* children) override {
        return Forward(&IAccessible::get_accSelection, children);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child) || !as_.pushButton || Gone())
            return Forward(&IAccessible::get_accDefaultAction, child, action);
        return Answer(kPressActionName, action);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override {
        return Forward(&IAccessible::accSelect, flags, child);
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override {
        return Forward(&IAccessible::accLocation, left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return Forward(&IAccessible::accNavigate, direction, start, end);
    }
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override {
        return Forward(&IAccessible::accHitTest, left, top, child);
    }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override {
        return Forward(&IAccessible::put_accName, child, name);
    }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
        return Forward(&IAccessible::put_accValue, child, value);
    }

  private:
    ~AccessibleLabel() { standard_->Release(); }

    // A client may keep the object long after the label is gone, and its handle may name
    // another window by then: every answer is refused, nothing is posted.
    bool Gone() const { return !*as_.connected; }
    template <typename Interface, typename... Parameters, typename... Arguments>
    HRESULT Forward(HRESULT (STDMETHODCALLTYPE Interface::*method)(Parameters...),
                    Arguments... arguments) {
        if (Gone()) return CO_E_OBJNOTCONNECTED;
        return (standard_->*method)(arguments...);
    }

    static HRESULT Answer(const wchar_t* text, BSTR* out) {
        if (!out) return E_POINTER;
        *out = SysAllocString(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HWND label_;
    IAccessible* standard_;  // owned: one reference, released with this object
    const LabelAccessibility as_;
    std::atomic<ULONG> references_{1};
};

#pragma GCC diagnostic pop

}  // namespace

LRESULT AnswerGetObject(HWND label, WPARAM wParam, LPARAM lParam, LabelAccessibility as) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    const Oleacc& oleacc = OleaccFunctions();
    IAccessible* standard = nullptr;
    if (!oleacc.createStdAccessibleObject || !oleacc.lresultFromObject ||
        FAILED(oleacc.createStdAccessibleObject(label, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard))))
        return 0;
    auto* wrapped = new AccessibleLabel(label, standard, std::move(as));
    const LRESULT result =
        oleacc.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(wrapped));
    wrapped->Release();  // LresultFromObject holds its own reference
    // An error code is negative: then the label's own answer stands.
    return result > 0 ? result : 0;
}

}  // namespace tolvane::win32
