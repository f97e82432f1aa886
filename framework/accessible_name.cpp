#include "framework/accessible_name.h"

#include <initguid.h>  // IID_IAccessible defined here: no import library that would load oleacc at start
#include <oleacc.h>
#include <servprov.h>

#include <new>
#include <utility>

#include "framework/dll_search.h"
#include "framework/owners.h"
#include "text/system_conversion.h"

namespace {
// oleacc and oleaut32 are loaded on the first request only: most sessions
// have no screen reader, and every DLL loaded at start costs start-up time.
struct AccessibilityLibrary {
    decltype(&CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&LresultFromObject) resultFromObject = nullptr;
    decltype(&SysAllocStringLen) allocString = nullptr;

    AccessibilityLibrary() {
        HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
        HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
        if (!oleacc || !oleaut) return;
        createStandard = reinterpret_cast<decltype(createStandard)>(
            reinterpret_cast<void*>(GetProcAddress(oleacc, "CreateStdAccessibleObject")));
        resultFromObject = reinterpret_cast<decltype(resultFromObject)>(
            reinterpret_cast<void*>(GetProcAddress(oleacc, "LresultFromObject")));
        allocString = reinterpret_cast<decltype(allocString)>(
            reinterpret_cast<void*>(GetProcAddress(oleaut, "SysAllocStringLen")));
    }
    bool Loaded() const { return createStandard && resultFromObject && allocString; }

    static const AccessibilityLibrary& Get() {
        static const AccessibilityLibrary library;
        return library;
    }
};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object under another name; everything else is its answer. Each
// interface it hands out is its own, forwarding to the system's: a screen
// reader that asks the children's enumerator or the window interface for the
// accessible object must come back to the name.
class NamedAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow, public IServiceProvider {
public:
    NamedAccessible(ComPtr<IAccessible> standard, std::wstring name)
        : standard_(std::move(standard)), name_(std::move(name)) {
        // Asked once: what an object answers for an interface never changes.
        standard_->QueryInterface(IID_IEnumVARIANT, children_.Out());
        standard_->QueryInterface(IID_IOleWindow, window_.Out());
        standard_->QueryInterface(IID_IServiceProvider, services_.Out());
    }
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
            *out = static_cast<IAccessible*>(this);
        else if (iid == IID_IEnumVARIANT && children_)
            *out = static_cast<IEnumVARIANT*>(this);
        else if (iid == IID_IOleWindow && window_)
            *out = static_cast<IOleWindow*>(this);
        else if (iid == IID_IServiceProvider && services_)
            *out = static_cast<IServiceProvider*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return ULONG(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = AccessibilityLibrary::Get().allocString(name_.data(), UINT(name_.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // The object itself, asked for as a service, is this one.
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
        if (service == IID_IAccessible && SUCCEEDED(QueryInterface(iid, out))) return S_OK;
        return services_->QueryService(service, iid, out);
    }

    // A copy of the enumerator is the system's object once more, unnamed: it gets the name too.
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        ComPtr<IEnumVARIANT> copy;
        HRESULT result = children_->Clone(reinterpret_cast<IEnumVARIANT**>(copy.Out()));
        if (FAILED(result) || !copy) return result;
        ComPtr<IAccessible> object;
        if (SUCCEEDED(copy->QueryInterface(IID_IAccessible, object.Out())) && object) {
            auto* named = new (std::nothrow) NamedAccessible(std::move(object), name_);
            if (!named) return E_OUTOFMEMORY;
            *out = named;  // its one reference is the caller's
            return S_OK;
        }
        *out = copy.Release();  // given away to the caller
        return result;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        return children_->Next(count, items, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children_->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return children_->Reset(); }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return window_->GetWindow(window); }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override { return window_->ContextSensitiveHelp(enter); }

    // Every other call is the system object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    LONG references_ = 1;
    ComPtr<IAccessible> standard_;
    ComPtr<IEnumVARIANT> children_;
    ComPtr<IOleWindow> window_;
    ComPtr<IServiceProvider> services_;
    std::wstring name_;
};
}  // namespace

bool AnswerAccessibleName(Message& m, const std::string& name) {
    auto object = static_cast<LONG>(m.lParam);
    if (object != OBJID_CLIENT && object != OBJID_WINDOW) return false;
    const AccessibilityLibrary& library = AccessibilityLibrary::Get();
    if (!library.Loaded()) return false;
    ComPtr<IAccessible> standard;
    if (FAILED(library.createStandard(m.window, object, IID_IAccessible, standard.Out())) || !standard) return false;
    ComPtr<IAccessible> named(new (std::nothrow) NamedAccessible(std::move(standard), Widen(name)));
    if (!named) return false;
    m.result = library.resultFromObject(IID_IAccessible, m.wParam, named.get());  // holds its own reference
    return true;
}
