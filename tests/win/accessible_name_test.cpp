#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>
#include <servprov.h>

#include <string>

#include "framework/accessible_name.h"
#include "framework/owners.h"

namespace {
std::wstring NameOf(IAccessible* object) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (FAILED(object->get_accName(self, &name)) || !name) return L"<no name>";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

// COM's identity: the one IUnknown an object answers from any of its interfaces.
IUnknown* IdentityOf(IUnknown* object) {
    ComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, identity.Out());
    return identity.get();  // the caller holds the object alive
}
}  // namespace

// A screen reader goes from one interface to the next, and from each back to
// the accessible object: every road leads to the one that has the name.
TEST(AccessibleName, FromEveryInterfaceHandedOutTheObjectIsTheNamedOne) {
    ComApartment com;
    OwnedWindow button(CreateWindowExA(0, "BUTTON", "r", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr));
    NamedControl control("Close");
    ASSERT_TRUE(control.Attach(button.get()));
    // As an accessibility client in this process gets it.
    LRESULT answer = SendMessageA(button.get(), WM_GETOBJECT, 0, OBJID_CLIENT);
    ComPtr<IAccessible> named;
    ASSERT_GT(answer, 0);
    ASSERT_EQ(ObjectFromLresult(answer, IID_IAccessible, 0, named.Out()), S_OK);
    ASSERT_EQ(NameOf(named.get()), L"Close");
    ComPtr<IAccessible> standard;
    ASSERT_EQ(CreateStdAccessibleObject(button.get(), OBJID_CLIENT, IID_IAccessible, standard.Out()), S_OK);

    const struct {
        const IID& iid;
        const char* name;
    } interfaces[] = {{IID_IUnknown, "IUnknown"},         {IID_IDispatch, "IDispatch"},
                      {IID_IAccessible, "IAccessible"},   {IID_IEnumVARIANT, "IEnumVARIANT"},
                      {IID_IOleWindow, "IOleWindow"},     {IID_IServiceProvider, "IServiceProvider"}};
    for (const auto& i : interfaces) {
        ComPtr<IUnknown> offered, handed;
        // Whatever the system's object offers, the named one offers too.
        if (FAILED(standard->QueryInterface(i.iid, offered.Out()))) continue;
        ASSERT_EQ(named->QueryInterface(i.iid, handed.Out()), S_OK) << i.name;
        ComPtr<IAccessible> back;
        ASSERT_EQ(handed->QueryInterface(IID_IAccessible, back.Out()), S_OK) << i.name;
        EXPECT_EQ(IdentityOf(back.get()), IdentityOf(named.get())) << i.name;
        EXPECT_EQ(NameOf(back.get()), L"Close") << i.name;
    }

    // The object itself as a service; the calls of the other interfaces reach the system's object.
    ComPtr<IServiceProvider> services;
    ASSERT_EQ(named->QueryInterface(IID_IServiceProvider, services.Out()), S_OK);
    ComPtr<IAccessible> served;
    ASSERT_EQ(services->QueryService(IID_IAccessible, IID_IAccessible, served.Out()), S_OK);
    EXPECT_EQ(IdentityOf(served.get()), IdentityOf(named.get()));
    ComPtr<IOleWindow> window;
    ASSERT_EQ(named->QueryInterface(IID_IOleWindow, window.Out()), S_OK);
    HWND reported = nullptr;
    EXPECT_EQ(window->GetWindow(&reported), S_OK);
    EXPECT_EQ(reported, button.get());
}
