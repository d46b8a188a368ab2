#include "core/Errors.h"

namespace siborang {

std::string IoErrorText(std::uint32_t code) {
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case kIoReadBeyondEnd: return "Read beyond end of file";
    // Also ERROR_HANDLE_DISK_FULL and ERROR_DISK_FULL: NTFS refuses a write that does not fit
    // with these rather than taking part of it.
    case kIoDiskFull:
    case 39:
    case 112: return "Disk full";
    default: return "I/O error " + std::to_string(code);
    }
}

}  // namespace siborang
