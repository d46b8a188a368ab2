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

bool PositionAt(std::int64_t index) noexcept {
    LARGE_INTEGER offset;
    offset.QuadPart = index * static_cast<std::int64_t>(kMemoRecordSize);
    return SetFilePointerEx(memoFile.Get(), offset, nullptr, FILE_BEGIN) != FALSE;
}

// Each returns false when the OS refused; transferred holds what did move.
bool ReadRecord(MemoRecord& destination, DWORD& transferred) noexcept {
    transferred = 0;
    return ReadFile(memoFile.Get(), &destination, kRecordBytes, &transferred, nullptr) != FALSE;
}

bool WriteRecord(const MemoRecord& record, DWORD& transferred) noexcept {
    transferred = 0;
    return WriteFile(memoFile.Get(), &record, kRecordBytes, &transferred, nullptr) != FALSE;
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
}

void CloseMemoFile() {
    if (!memoFile) throw IoError(kIoFileNotOpen);
    // The object is closed afterwards even when the system refuses.
    if (!CloseHandle(memoFile.Release())) RaiseLastError();
}

}  // namespace siborang
