#include "tests/process/AccessProbe.h"

namespace siborang::process_tests {
namespace {

constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VARIANT Child(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring AskText(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, BSTR*),
                     long child) {
    BSTR text = nullptr;
    if (FAILED((object->*question)(Child(child), &text)) || !text) return {};
    std::wstring s(text, ::SysStringLen(text));
    ::SysFreeString(text);
    return s;
}

long AskNumber(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, VARIANT*),
               long child) {
    VARIANT v;
    v.vt = VT_EMPTY;
    const long n = SUCCEEDED((object->*question)(Child(child), &v)) && v.vt == VT_I4 ? v.lVal : 0;
    ::VariantClear(&v);
    return n;
}

std::vector<HeardEvent> g_heard;  // the tests run on one thread

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG child, DWORD, DWORD) {
    g_heard.push_back({event, window, child});
}

}  // namespace

AccessibleWindow::AccessibleWindow(HWND window, LONG objectId) {
    if (FAILED(::AccessibleObjectFromWindow(window, objectId, kIidAccessible, reinterpret_cast<void**>(&object_))))
        object_ = nullptr;
}

AccessibleWindow::~AccessibleWindow() {
    if (object_) object_->Release();
}

AccessibleFacts AccessibleWindow::Facts(long child) const {
    if (!object_) return {};
    return {AskText(object_, &IAccessible::get_accName, child), AskText(object_, &IAccessible::get_accValue, child),
            AskText(object_, &IAccessible::get_accDescription, child),
            AskNumber(object_, &IAccessible::get_accRole, child), AskNumber(object_, &IAccessible::get_accState, child)};
}

std::vector<std::pair<long, AccessibleFacts>> AccessibleWindow::Elements() const {
    std::vector<std::pair<long, AccessibleFacts>> elements;
    long count = 0;
    if (!object_ || FAILED(object_->get_accChildCount(&count)) || count <= 0) return elements;
    std::vector<VARIANT> got(static_cast<std::size_t>(count));
    LONG obtained = 0;
    if (FAILED(::AccessibleChildren(object_, 0, count, got.data(), &obtained))) return elements;
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& v = got[static_cast<std::size_t>(i)];
        if (v.vt == VT_I4) elements.emplace_back(v.lVal, Facts(v.lVal));
        ::VariantClear(&v);
    }
    return elements;
}

std::optional<long> AccessibleWindow::FocusedChild() const {
    VARIANT v;
    v.vt = VT_EMPTY;
    std::optional<long> focused;
    if (object_ && SUCCEEDED(object_->get_accFocus(&v)) && v.vt == VT_I4) focused = v.lVal;
    ::VariantClear(&v);
    return focused;
}

HRESULT AccessibleWindow::DoDefaultAction(long child) const {
    return object_ ? object_->accDoDefaultAction(Child(child)) : E_FAIL;
}

WinEventListener::WinEventListener(DWORD processId, DWORD firstEvent, DWORD lastEvent)
    : hook_(::SetWinEventHook(firstEvent, lastEvent, nullptr, &Hear, processId, 0, WINEVENT_OUTOFCONTEXT)) {
    g_heard.clear();
}

WinEventListener::~WinEventListener() {
    if (hook_) ::UnhookWinEvent(hook_);
}

std::optional<HeardEvent> WinEventListener::WaitFor(DWORD event, std::chrono::milliseconds timeout, HWND window) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (std::size_t i = taken_; i < g_heard.size(); ++i) {
            if (g_heard[i].event == event && (!window || g_heard[i].window == window)) {
                taken_ = i + 1;
                return g_heard[i];
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        // Out-of-context events arrive as messages of this thread.
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace siborang::process_tests
