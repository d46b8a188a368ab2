#include "memo/MemoFile.h"

#include "core/Errors.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang {

namespace {

// The process-wide file object: closed, or open on one handle.
win::FileHandle memoFile;

constexpr DWORD kRecordBytes = static_cast<DWORD>(kMemoRecordSize);

[[noreturn]] void RaiseLastError() { throw IoError(GetLastError()); }

// Where the file pointer stands after the last transfer, when known: the scans of the tick
// and the editor read records in order, and under Wine the seek costs as much as the read.
std::int64_t knownPosition = -1;

bool PositionAt(std::int64_t index) noexcept {
    const std::int64_t position = index * static_cast<std::int64_t>(kMemoRecordSize);
    if (position == knownPosition) return true;
    knownPosition = -1;
    LARGE_INTEGER offset;
    offset.QuadPart = position;
    if (!SetFilePointerEx(memoFile.Get(), offset, nullptr, FILE_BEGIN)) return false;
    knownPosition = position;
    return true;
}

// After a transfer of `transferred` bytes at the known position; unknown after a failure.
void Advance(bool moved, DWORD transferred) noexcept {
    if (moved && knownPosition >= 0) {
        knownPosition += transferred;
    } else {
        knownPosition = -1;
    }
}

// Each returns false when the OS refused; transferred holds what did move.
bool ReadRecord(MemoRecord& destination, DWORD& transferred) noexcept {
    transferred = 0;
    const bool moved = ReadFile(memoFile.Get(), &destination, kRecordBytes, &transferred, nullptr) != FALSE;
    Advance(moved, transferred);
    return moved;
}

bool WriteRecord(const MemoRecord& record, DWORD& transferred) noexcept {
    transferred = 0;
    const bool moved = WriteFile(memoFile.Get(), &record, kRecordBytes, &transferred, nullptr) != FALSE;
    Advance(moved, transferred);
    return moved;
}

void PositionOrRaise(std::int64_t index) {
    if (!PositionAt(index)) RaiseLastError();
}

void WriteOrRaise(const MemoRecord& record) {
    DWORD written;
    if (!WriteRecord(record, written)) RaiseLastError();
    if (written < kRecordBytes) throw IoError(kIoDiskFull);
}

bool IsExistingFile(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void OpenMemoFile() {
    // Our own old handle would otherwise refuse the new one its write access.
    memoFile.Reset();
    knownPosition = -1;
    const DWORD disposition = IsExistingFile(kMemoFileName) ? OPEN_EXISTING : CREATE_ALWAYS;
    const HANDLE handle = CreateFileA(kMemoFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) RaiseLastError();
    memoFile.Reset(handle);
}

std::int32_t MemoCount() {
    if (!memoFile) throw IoError(kIoFileNotOpen);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(memoFile.Get(), &size)) RaiseLastError();
    return static_cast<std::int32_t>(size.QuadPart / static_cast<std::int64_t>(kMemoRecordSize));
}

int ReadMemo(std::int32_t index, MemoRecord& destination) {
    if (!memoFile || index < 0) return -1;
    DWORD read;
    if (!PositionAt(index) || !ReadRecord(destination, read) || read < kRecordBytes) return -1;
    return 0;
}

int WriteMemo(std::int32_t index, MemoRecord record) {
    if (!memoFile || index < 0) return -1;
    DWORD written;
    if (!PositionAt(index) || !WriteRecord(record, written) || written < kRecordBytes) return -1;
    return 0;
}

void AppendMemo(MemoRecord record) {
    const std::int32_t count = MemoCount();
    PositionOrRaise(count);
    WriteOrRaise(record);
}

void DeleteMemo(std::int32_t index) {
    const std::int64_t count = MemoCount();
    MemoRecord moved;
    for (std::int64_t k = index; k <= count - 2; ++k) {
        PositionOrRaise(k + 1);
        DWORD read;
        if (!ReadRecord(moved, read)) RaiseLastError();
        if (read < kRecordBytes) throw IoError(kIoReadBeyondEnd);
        PositionOrRaise(k);
        WriteOrRaise(moved);
    }
    // On an empty file this asks for a negative position, and the OS's refusal is the error.
    PositionOrRaise(static_cast<std::int64_t>(MemoCount()) - 1);
    if (!SetEndOfFile(memoFile.Get())) RaiseLastError();
    knownPosition = -1;
}

bool MemoFileIsOpen() noexcept { return static_cast<bool>(memoFile); }

void CloseMemoFile() {
    if (!memoFile) throw IoError(kIoFileNotOpen);
    // The object is closed afterwards even when the system refuses.
    knownPosition = -1;
    if (!CloseHandle(memoFile.Release())) RaiseLastError();
}

}  // namespace siborang
