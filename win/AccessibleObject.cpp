#include "win/AccessibleObject.h"

#include <atomic>
#include <new>

#include "core/AccessChildren.h"

namespace siborang::win {
namespace {

// The other interfaces by their ids, as kIidAccessible.
constexpr GUID kIidUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidEnumVariant{0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidOleWindow{0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Nothing thrown by a source crosses into COM.
template <class Body>
HRESULT Safely(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

void SetChild(VARIANT* out, LONG child) noexcept {
    out->vt = VT_I4;
    out->lVal = child;
}

bool Contains(const RECT& r, long x, long y) noexcept {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

static_assert(NAVDIR_UP == static_cast<long>(NavigateDirection::Up) &&
              NAVDIR_NEXT == static_cast<long>(NavigateDirection::Next) &&
              NAVDIR_PREVIOUS == static_cast<long>(NavigateDirection::Previous) &&
              NAVDIR_FIRSTCHILD == static_cast<long>(NavigateDirection::FirstChild) &&
              NAVDIR_LASTCHILD == static_cast<long>(NavigateDirection::LastChild));
static_assert(CHILDID_SELF == kSelfChild);

SystemAnswer Classify(HRESULT hr, const VARIANT& out) noexcept {
    if (hr == S_OK && out.vt != VT_EMPTY) return SystemAnswer::Child;
    return hr == S_FALSE ? SystemAnswer::Nothing : SystemAnswer::Failure;
}

// The window's client or window object: the system's standard one, with what the window's
// source says.
class ClientObject final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    ClientObject(HWND window, AccessibleLookup lookup, const AccessibleSource* source, IAccessible* standard,
                 const AccessLibraries& libraries, ULONG position = 0) noexcept
        : window_(window),
          lookup_(lookup),
          source_(source),
          standard_(standard),
          libraries_(libraries),
          position_(position) {
        standard_->AddRef();
    }
    ~ClientObject() { standard_->Release(); }
    ClientObject(const ClientObject&) = delete;
    ClientObject& operator=(const ClientObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (iid == kIidUnknown || iid == kIidDispatch || iid == kIidAccessible) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == kIidEnumVariant) {
            *out = static_cast<IEnumVARIANT*>(this);
        } else if (iid == kIidOleWindow) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: readers use the interface's own methods; scripting by name is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) noexcept override {
        if (!Source()) return Gone(parent);
        return standard_->get_accParent(parent);
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return Safely([&] {
            const AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            long windows = 0;
            if (FAILED(standard_->get_accChildCount(&windows))) windows = 0;
            *count = AccessChildren(source->AccessibleItems().size()).Count(windows);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Ask(child, [&](const AccessibleItem&) { return S_FALSE; },  // items are simple elements
                   [&](VARIANT id, AccessibleSource&) { return standard_->get_accChild(id, out); });
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) noexcept override {
        return AskText(child, out, &AccessibleSource::AccessibleName, &AccessibleItem::name,
                       &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) noexcept override {
        return AskText(child, out, &AccessibleSource::AccessibleValue, &AccessibleItem::value,
                       &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) noexcept override {
        return AskText(child, out, &AccessibleSource::AccessibleDescription, &AccessibleItem::description,
                       &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) noexcept override {
        return AskText(child, out, &AccessibleSource::AccessibleDefaultAction, &AccessibleItem::defaultAction,
                       &IAccessible::get_accDefaultAction);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return Ask(
            child,
            [&](const AccessibleItem& item) {
                SetChild(out, item.role);
                return S_OK;
            },
            [&](VARIANT id, AccessibleSource& source) {
                if (id.lVal == CHILDID_SELF) {
                    if (const auto role = source.AccessibleRole()) {
                        SetChild(out, *role);
                        return S_OK;
                    }
                }
                return standard_->get_accRole(id, out);
            });
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return Ask(
            child,
            [&](const AccessibleItem& item) {
                SetChild(out, item.state);
                return S_OK;
            },
            [&](VARIANT id, AccessibleSource& source) {
                const HRESULT hr = standard_->get_accState(id, out);
                if (id.lVal != CHILDID_SELF) return hr;
                const long standard = SUCCEEDED(hr) && out->vt == VT_I4 ? out->lVal : 0;
                if (const auto state = source.AccessibleState(standard)) {
                    libraries_.variantClear(out);
                    SetChild(out, *state);
                    return S_OK;
                }
                return hr;
            });
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Ask(child, [](const AccessibleItem&) { return S_FALSE; },
                   [&](VARIANT id, AccessibleSource&) { return standard_->get_accHelp(id, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) noexcept override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return Ask(child, [](const AccessibleItem&) { return S_FALSE; },
                   [&](VARIANT id, AccessibleSource&) { return standard_->get_accHelpTopic(file, id, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Ask(child, [](const AccessibleItem&) { return S_FALSE; },
                   [&](VARIANT id, AccessibleSource&) { return standard_->get_accKeyboardShortcut(id, out); });
    }

    // The item whose state says so (the calendar's current cell), else the system's answer.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) noexcept override {
        return FirstItemWith(STATE_SYSTEM_FOCUSED, out, [&] { return standard_->get_accFocus(out); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) noexcept override {
        return FirstItemWith(STATE_SYSTEM_SELECTED, out, [&] { return standard_->get_accSelection(out); });
    }

    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) noexcept override {
        return Ask(child, [](const AccessibleItem&) { return DISP_E_MEMBERNOTFOUND; },
                   [&](VARIANT id, AccessibleSource&) { return standard_->accSelect(flags, id); });
    }

    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) noexcept override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        return Ask(
            child,
            [&](const AccessibleItem& item) {
                *left = item.bounds.left;
                *top = item.bounds.top;
                *width = item.bounds.right - item.bounds.left;
                *height = item.bounds.bottom - item.bounds.top;
                return S_OK;
            },
            [&](VARIANT id, AccessibleSource&) { return standard_->accLocation(left, top, width, height, id); });
    }

    // Items in order, then the system's children (whose ids move up past the items).
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return Safely([&]() -> HRESULT {
            const AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            if (start.vt != VT_I4) return E_INVALIDARG;
            const AccessChildren children(source->AccessibleItems().size());
            const NavigateStep step = children.Navigate(static_cast<NavigateDirection>(direction), start.lVal);
            switch (step.kind) {
            case NavigateStep::Kind::Invalid:
                return E_INVALIDARG;
            case NavigateStep::Kind::Nothing:
                return S_FALSE;
            case NavigateStep::Kind::Child:
                SetChild(out, step.child);
                return S_OK;
            case NavigateStep::Kind::System:
                break;
            }
            VARIANT from;
            SetChild(&from, step.from);
            const HRESULT hr = standard_->accNavigate(static_cast<long>(step.direction), from, out);
            if (!step.ours) return hr;
            if (const long instead = step.Instead(Classify(Shifted(hr, out, children), *out))) {
                libraries_.variantClear(out);
                SetChild(out, instead);
                return S_OK;
            }
            return hr;
        });
    }

    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return Safely([&]() -> HRESULT {
            const AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            const auto items = source->AccessibleItems();
            const AccessChildren children(items.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (Contains(items[i].bounds, x, y)) {
                    SetChild(out, children.OfItem(i));
                    return S_OK;
                }
            }
            return Shifted(standard_->accHitTest(x, y, out), out, children);
        });
    }

    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override {
        return Safely([&]() -> HRESULT {
            AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            if (child.vt != VT_I4) return E_INVALIDARG;
            const ChildPlace place = AccessChildren(source->AccessibleItems().size()).Place(child.lVal);
            switch (place.kind) {
            case ChildPlace::Kind::Invalid:
                return E_INVALIDARG;
            case ChildPlace::Kind::Self:
                return source->DoAccessibleDefaultAction() ? S_OK : standard_->accDoDefaultAction(child);
            case ChildPlace::Kind::Item:
                return source->DoItemDefaultAction(static_cast<std::size_t>(place.index)) ? S_OK
                                                                                           : DISP_E_MEMBERNOTFOUND;
            case ChildPlace::Kind::Window:
                break;
            }
            VARIANT id;
            SetChild(&id, place.index);
            return standard_->accDoDefaultAction(id);
        });
    }

    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

    // IEnumVARIANT: the items as child ids, then what the system's object enumerates (an id of
    // its own moved past the items, as every id it gives).
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) noexcept override {
        if (!out || (!fetched && wanted != 1)) return E_POINTER;
        if (fetched) *fetched = 0;
        for (ULONG i = 0; i < wanted; ++i) out[i].vt = VT_EMPTY;
        return Safely([&]() -> HRESULT {
            const AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            const AccessChildren children(source->AccessibleItems().size());
            const EnumerateStep step = children.Enumerate(position_, wanted);
            ULONG n = 0;
            for (; n < step.items; ++n) SetChild(&out[n], children.OfItem(position_++));
            if (step.windows > 0) {
                IEnumVARIANT* windows = nullptr;
                if (SUCCEEDED(standard_->QueryInterface(kIidEnumVariant, reinterpret_cast<void**>(&windows))) &&
                    windows) {
                    ULONG got = 0;
                    windows->Reset();
                    if (step.skipWindows == 0 || windows->Skip(step.skipWindows) == S_OK) {
                        if (FAILED(windows->Next(step.windows, out + n, &got))) got = 0;
                    }
                    windows->Release();
                    for (ULONG i = n; i < n + got; ++i) Shifted(S_OK, &out[i], children);
                    n += got;
                    position_ += got;
                }
            }
            if (fetched) *fetched = n;
            return n == wanted ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override {
        long total = 0;
        const HRESULT hr = get_accChildCount(&total);
        if (FAILED(hr)) return hr;
        return SkipChildren(position_, count, static_cast<ULONG>(total)) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() noexcept override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!Source()) return RPC_E_DISCONNECTED;
        auto* copy = new (std::nothrow) ClientObject(window_, lookup_, source_, standard_, libraries_, position_);
        if (!copy) return E_OUTOFMEMORY;
        *out = copy;
        return S_OK;
    }

    // IOleWindow: which window a reader is looking at.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!Source()) return RPC_E_DISCONNECTED;
        *out = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

private:
    // The window's source now; nullptr once the window is gone or another object describes it,
    // and for a question on another thread than the window's (should the thread have had no
    // apartment of its own), which must not meet the window objects.
    AccessibleSource* Source() const noexcept {
        if (::GetWindowThreadProcessId(window_, nullptr) != ::GetCurrentThreadId()) return nullptr;
        AccessibleSource* source = lookup_(window_);
        return source == source_ ? source : nullptr;
    }

    template <class T>
    HRESULT Gone(T** out) const noexcept {
        if (out) *out = nullptr;
        return RPC_E_DISCONNECTED;
    }

    // One question about child `child`: an item's answer, or the system's (with the item ids
    // taken off the id); the window itself counts as the system's child 0.
    template <class OnItem, class OnSystem>
    HRESULT Ask(VARIANT child, OnItem&& onItem, OnSystem&& onSystem) const noexcept {
        return Safely([&]() -> HRESULT {
            AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            if (child.vt != VT_I4) return E_INVALIDARG;
            // The window itself needs no items, which may be many (the calendar's cells).
            if (child.lVal == CHILDID_SELF) return onSystem(child, *source);
            const auto items = source->AccessibleItems();
            const ChildPlace place = AccessChildren(items.size()).Place(child.lVal);
            if (place.kind == ChildPlace::Kind::Invalid) return E_INVALIDARG;
            if (place.kind == ChildPlace::Kind::Item) return onItem(items[static_cast<std::size_t>(place.index)]);
            VARIANT id;
            SetChild(&id, place.index);
            return onSystem(id, *source);
        });
    }

    using SourceText = std::optional<std::wstring> (AccessibleSource::*)() const;
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    HRESULT AskText(VARIANT child, BSTR* out, SourceText ofSource, std::wstring AccessibleItem::*ofItem,
                    StandardText ofStandard) const noexcept {
        if (!out) return E_POINTER;
        *out = nullptr;
        return Ask(
            child, [&](const AccessibleItem& item) { return Text(item.*ofItem, out); },
            [&](VARIANT id, AccessibleSource& source) {
                if (id.lVal == CHILDID_SELF) {
                    if (const auto text = (source.*ofSource)()) return Text(*text, out);
                }
                return (standard_->*ofStandard)(id, out);
            });
    }

    // An empty text is no text, as the system's objects answer.
    HRESULT Text(const std::wstring& text, BSTR* out) const noexcept {
        if (text.empty()) return S_FALSE;
        *out = libraries_.sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    // A child id the system's object gave back, moved past the items.
    static HRESULT Shifted(HRESULT hr, VARIANT* out, const AccessChildren& children) noexcept {
        if (hr == S_OK && out->vt == VT_I4) out->lVal = children.FromSystem(out->lVal);
        return hr;
    }

    template <class Standard>
    HRESULT FirstItemWith(long state, VARIANT* out, Standard&& standard) const noexcept {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return Safely([&]() -> HRESULT {
            const AccessibleSource* source = Source();
            if (!source) return RPC_E_DISCONNECTED;
            const auto items = source->AccessibleItems();
            const AccessChildren children(items.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i].state & state) {
                    SetChild(out, children.OfItem(i));
                    return S_OK;
                }
            }
            return Shifted(standard(), out, children);
        });
    }

    std::atomic<ULONG> references_{1};
    const HWND window_;
    const AccessibleLookup lookup_;
    const AccessibleSource* const source_;  // compared only, never followed: it may be gone
    IAccessible* const standard_;
    const AccessLibraries& libraries_;
    ULONG position_;  // the enumeration's place
};

}  // namespace

IAccessible* NewAccessibleObject(HWND window, AccessibleLookup lookup, const AccessibleSource* source,
                                 IAccessible* standard, const AccessLibraries& libraries) noexcept {
    return new (std::nothrow) ClientObject(window, lookup, source, standard, libraries);
}

}  // namespace siborang::win
