#include "win/Accessible.h"

#include "win/AccessLibraries.h"
#include "win/AccessibleObject.h"

namespace siborang::win {

bool AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result, AccessibleLookup client,
                     AccessibleLookup frame) noexcept {
    const auto objectId = static_cast<LONG>(lParam);
    const AccessibleLookup lookup = objectId == OBJID_CLIENT ? client : objectId == OBJID_WINDOW ? frame : nullptr;
    const AccessibleSource* source = lookup ? lookup(window) : nullptr;
    if (!source) return false;
    const AccessLibraries* libraries = LoadAccessLibraries();
    if (!libraries) return false;
    EnterApartment(*libraries);
    IAccessible* standard = nullptr;
    if (FAILED(libraries->createStandard(window, objectId, kIidAccessible, reinterpret_cast<void**>(&standard))) ||
        !standard) {
        return false;
    }
    IAccessible* object = NewAccessibleObject(window, lookup, source, standard, *libraries);
    standard->Release();
    if (!object) return false;
    const LRESULT answer = libraries->lresultFromObject(kIidAccessible, wParam, object);
    object->Release();
    // A failure is a negative HRESULT; the system's own answer is better than none.
    if (answer < 0) return false;
    result = answer;
    return true;
}

void NotifyAccessible(DWORD event, HWND window, LONG child) noexcept {
    if (window && ::IsWindowVisible(window)) ::NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

UINT AccessiblePressMessage() noexcept {
    static const UINT message = ::RegisterWindowMessageW(L"Siborang.AccessiblePress");
    return message;
}

}  // namespace siborang::win
