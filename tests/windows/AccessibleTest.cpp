// The wrapper's own rules, asked in-process as a screen reader asks them: the items before the
// child windows, their ids through every question, and an object held past its window or asked
// while its source throws.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/Accessible.h"
#include "win/Application.h"
#include "win/Window.h"

namespace siborang {
namespace {

constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID kIidEnumVariant{0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

RECT ToScreen(HWND window, RECT r) {
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A window of the program's window base that describes itself: a label and a flat button
// drawn on it, and a system button as its child window.
class DescribedWindow final : public win::WindowBase, public win::AccessibleSource {
public:
    DescribedWindow() {
        const HINSTANCE instance = win::Application::Instance().ModuleInstance();
        win::RegisterWindowClass(instance, {.name = L"SiborangAccessTest"});
        CreateHandle(instance, 0, L"SiborangAccessTest", L"Form1", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                     nullptr);
        button = ::CreateWindowExW(0, L"BUTTON", L"확인", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 200, 150, 80, 24,
                                   Handle(), nullptr, instance, nullptr);
    }

    std::optional<std::wstring> AccessibleName() const override {
        if (throwing) throw std::runtime_error("no name today");
        return L"시보랑";
    }
    std::optional<long> AccessibleRole() const override { return ROLE_SYSTEM_ALERT; }
    std::vector<win::AccessibleItem> AccessibleItems() const override {
        return {{.name = L"핫키 등록", .bounds = ToScreen(Handle(), kLabel)},
                {.name = L"?",
                 .role = ROLE_SYSTEM_PUSHBUTTON,
                 .state = STATE_SYSTEM_FOCUSABLE,
                 .defaultAction = L"누르기",
                 .bounds = ToScreen(Handle(), kFlatButton)}};
    }
    AccessibleSource* Accessible() noexcept override { return this; }

    static constexpr RECT kLabel{10, 10, 90, 30};
    static constexpr RECT kFlatButton{250, 5, 270, 25};
    HWND button = nullptr;
    bool throwing = false;
};

VARIANT Child(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The reader's side: the window's client object, released with this.
class Reader {
public:
    explicit Reader(HWND window) {
        ::AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object_));
    }
    ~Reader() {
        if (object_) object_->Release();
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    IAccessible* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // The name; "(failed)" for an error.
    std::wstring Name(long id = CHILDID_SELF) const {
        BSTR text = nullptr;
        const HRESULT hr = object_->get_accName(Child(id), &text);
        std::wstring s = SUCCEEDED(hr) && text ? std::wstring(text, ::SysStringLen(text)) : L"(failed)";
        ::SysFreeString(text);
        return s;
    }
    long Role() const {
        VARIANT v;
        v.vt = VT_EMPTY;
        return SUCCEEDED(object_->get_accRole(Child(CHILDID_SELF), &v)) && v.vt == VT_I4 ? v.lVal : -1;
    }

private:
    IAccessible* object_ = nullptr;
};

class AccessibleObject : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

    std::unique_ptr<DescribedWindow> window = std::make_unique<DescribedWindow>();
};

TEST_F(AccessibleObject, ListsItsItemsFirstThenItsChildWindows) {
    Reader reader(window->Handle());
    ASSERT_TRUE(reader);
    long count = 0;
    EXPECT_EQ(reader->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    VARIANT children[4];
    LONG got = 0;
    ASSERT_TRUE(SUCCEEDED(::AccessibleChildren(reader.operator->(), 0, 4, children, &got)));
    ASSERT_EQ(got, 3);
    EXPECT_EQ(children[0].vt == VT_I4 ? children[0].lVal : -1, 1);
    EXPECT_EQ(children[1].vt == VT_I4 ? children[1].lVal : -1, 2);
    ASSERT_EQ(children[2].vt, VT_DISPATCH);
    HWND childWindow = nullptr;
    IAccessible* child = nullptr;
    children[2].pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&child));
    ASSERT_NE(child, nullptr);
    ::WindowFromAccessibleObject(child, &childWindow);
    child->Release();
    ::VariantClear(&children[2]);
    EXPECT_EQ(childWindow, window->button);

    EXPECT_EQ(reader.Name(4), L"(failed)");  // past the last child

    const RECT flat = ToScreen(window->Handle(), DescribedWindow::kFlatButton);
    VARIANT found;
    EXPECT_EQ(reader->accHitTest(flat.left + 5, flat.top + 5, &found), S_OK);
    EXPECT_EQ(found.vt == VT_I4 ? found.lVal : -1, 2);
    EXPECT_EQ(reader->accNavigate(NAVDIR_NEXT, Child(1), &found), S_OK);
    EXPECT_EQ(found.vt == VT_I4 ? found.lVal : -1, 2);

    // The enumerator keeps its place.
    IEnumVARIANT* items = nullptr;
    ASSERT_EQ(reader->QueryInterface(kIidEnumVariant, reinterpret_cast<void**>(&items)), S_OK);
    items->Reset();
    EXPECT_EQ(items->Skip(1), S_OK);
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(1, &found, &fetched), S_OK);
    EXPECT_EQ(found.lVal, 2);
    EXPECT_EQ(items->Skip(3), S_FALSE);
    EXPECT_EQ(items->Next(1, &found, &fetched), S_FALSE);
    items->Release();
}

TEST_F(AccessibleObject, FailsCleanlyWhenItsSourceThrowsOrItsWindowIsGone) {
    Reader reader(window->Handle());
    ASSERT_TRUE(reader);
    window->throwing = true;
    EXPECT_EQ(reader.Name(), L"(failed)");
    EXPECT_EQ(reader.Role(), ROLE_SYSTEM_ALERT);

    IEnumVARIANT* items = nullptr;
    ASSERT_EQ(reader->QueryInterface(kIidEnumVariant, reinterpret_cast<void**>(&items)), S_OK);
    window.reset();
    BSTR text = nullptr;
    EXPECT_EQ(reader->get_accName(Child(CHILDID_SELF), &text), RPC_E_DISCONNECTED);
    EXPECT_EQ(text, nullptr);
    long count = -1;
    EXPECT_EQ(reader->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(reader->accDoDefaultAction(Child(2)), RPC_E_DISCONNECTED);
    VARIANT one;
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(1, &one, &fetched), RPC_E_DISCONNECTED);
    items->Release();
}

}  // namespace
}  // namespace siborang
