#pragma once
// What the objects a screen reader is given need of oleacc, oleaut32 and ole32, and the COM
// apartment they are handed out from. Loaded from the system directory on the first question,
// so a program that is never asked never loads them.
#include "win/SystemLibrary.h"
#include "win/Win32.h"

#include <oleacc.h>

namespace siborang::win {

// Pinned: a reader in another process may hold an object of ours until the very end, past the
// program's static objects.
struct AccessLibraries {
    SystemLibrary oleacc{L"oleacc.dll", true};
    SystemLibrary oleaut32{L"oleaut32.dll", true};
    SystemLibrary ole32{L"ole32.dll", true};
    decltype(::CreateStdAccessibleObject)* createStandard =
        oleacc.Find<decltype(::CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    decltype(::LresultFromObject)* lresultFromObject =
        oleacc.Find<decltype(::LresultFromObject)>("LresultFromObject");
    decltype(::SysAllocStringLen)* sysAllocStringLen =
        oleaut32.Find<decltype(::SysAllocStringLen)>("SysAllocStringLen");
    decltype(::VariantClear)* variantClear = oleaut32.Find<decltype(::VariantClear)>("VariantClear");
    decltype(::CoInitializeEx)* coInitializeEx = ole32.Find<decltype(::CoInitializeEx)>("CoInitializeEx");

    bool Complete() const noexcept {
        return createStandard && lresultFromObject && sysAllocStringLen && variantClear && coInitializeEx;
    }
};

// Loaded once; nullptr when a library or a call is missing.
const AccessLibraries* LoadAccessLibraries() noexcept;

// Enters the calling thread's apartment, once per thread.
void EnterApartment(const AccessLibraries& libraries) noexcept;

}  // namespace siborang::win
