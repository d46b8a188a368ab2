#include "app/SingleInstance.h"

#include "win/Win32.h"

namespace siborang {

bool AnotherInstanceRunning() {
    // The handle is deliberately kept open and never stored: the object must exist exactly
    // as long as this process does, and the system closes it when the process ends.
    ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, "SharedHandle");
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace siborang
