#include "tests/process/AccessProbe.h"

#include <algorithm>

namespace siborang::process_tests {
namespace {

constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VARIANT Child(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text) {
    std::wstring s = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return s;
}

using TextQuestion = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::wstring AskText(IAccessible* object, TextQuestion question, long child) {
    BSTR text = nullptr;
    if (FAILED((object->*question)(Child(child), &text))) return {};
    return Take(text);
}

// The objects that enumerate the listeners' hooks; the tests run on one thread.
std::vector<WinEventListener*>& Listeners() {
    static std::vector<WinEventListener*> listeners;
    return listeners;
}

}  // namespace

ComApartment::ComApartment() : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment() {
    if (entered_) ::CoUninitialize();
}

AccessibleWindow::AccessibleWindow(HWND window) : window_(window) {
    if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object_))))
        object_ = nullptr;
}

AccessibleWindow::~AccessibleWindow() {
    if (object_) object_->Release();
}

AccessibleFacts AccessibleWindow::Facts(long child) const {
    AccessibleFacts facts;
    if (!object_) return facts;
    VARIANT v;
    v.vt = VT_EMPTY;
    if (SUCCEEDED(object_->get_accRole(Child(child), &v)) && v.vt == VT_I4) {
        facts.answered = true;
        facts.role = v.lVal;
    }
    ::VariantClear(&v);
    if (SUCCEEDED(object_->get_accState(Child(child), &v)) && v.vt == VT_I4) facts.state = v.lVal;
    ::VariantClear(&v);
    facts.name = AskText(object_, &IAccessible::get_accName, child);
    facts.value = AskText(object_, &IAccessible::get_accValue, child);
    facts.description = AskText(object_, &IAccessible::get_accDescription, child);
    return facts;
}

std::vector<AccessibleChild> AccessibleWindow::Children() const {
    std::vector<AccessibleChild> children;
    if (!object_) return children;
    long count = 0;
    if (FAILED(object_->get_accChildCount(&count)) || count <= 0) return children;
    std::vector<VARIANT> got(static_cast<std::size_t>(count));
    LONG obtained = 0;
    if (FAILED(::AccessibleChildren(object_, 0, count, got.data(), &obtained))) return children;
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& v = got[static_cast<std::size_t>(i)];
        AccessibleChild child;
        if (v.vt == VT_I4) {
            child.id = v.lVal;
            child.facts = Facts(v.lVal);
        } else if (v.vt == VT_DISPATCH && v.pdispVal) {
            IAccessible* object = nullptr;
            if (SUCCEEDED(v.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&object))) && object) {
                ::WindowFromAccessibleObject(object, &child.window);
                object->Release();
            }
            if (child.window) child.facts = AccessibleWindow(child.window).Facts();
        }
        ::VariantClear(&v);
        children.push_back(std::move(child));
    }
    return children;
}

std::optional<long> AccessibleWindow::FocusedChild() const {
    if (!object_) return std::nullopt;
    VARIANT v;
    v.vt = VT_EMPTY;
    std::optional<long> focused;
    if (SUCCEEDED(object_->get_accFocus(&v)) && v.vt == VT_I4) focused = v.lVal;
    ::VariantClear(&v);
    return focused;
}

HRESULT AccessibleWindow::DoDefaultAction(long child) const {
    return object_ ? object_->accDoDefaultAction(Child(child)) : E_FAIL;
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<AccessibleNode> WalkWindows(HWND top) {
    // EnumChildWindows goes depth first through every descendant.
    std::vector<HWND> windows{top};
    ::EnumChildWindows(top, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<AccessibleNode> nodes;
    for (HWND window : windows) {
        const AccessibleWindow object(window);
        AccessibleNode node{window, object.Facts(), {}};
        for (AccessibleChild& child : object.Children())
            if (!child.window) node.elements.push_back(std::move(child));
        nodes.push_back(std::move(node));
    }
    return nodes;
}

WinEventListener::WinEventListener(DWORD processId, DWORD firstEvent, DWORD lastEvent)
    : hook_(::SetWinEventHook(firstEvent, lastEvent, nullptr, &WinEventListener::Callback, processId, 0,
                              WINEVENT_OUTOFCONTEXT)) {
    if (hook_) Listeners().push_back(this);
}

WinEventListener::~WinEventListener() {
    if (!hook_) return;
    ::UnhookWinEvent(hook_);
    auto& all = Listeners();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void CALLBACK WinEventListener::Callback(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                         DWORD) {
    for (WinEventListener* listener : Listeners())
        if (listener->hook_ == hook) listener->heard_.push_back({event, window, object, child});
}

std::optional<HeardEvent> WinEventListener::WaitFor(DWORD event, std::chrono::milliseconds timeout, HWND window) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (std::size_t i = taken_; i < heard_.size(); ++i) {
            if (heard_[i].event == event && (!window || heard_[i].window == window)) {
                taken_ = i + 1;
                return heard_[i];
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        // Out-of-context events arrive as messages of this thread.
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace siborang::process_tests
