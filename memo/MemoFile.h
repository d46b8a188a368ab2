#pragma once
// PostIt.dat, the memo file: one process-wide file object and its seven operations.
// Every record access is one positioning call and one 226-byte read or write, unbuffered.
#include <cstdint>

#include "memo/MemoRecord.h"

namespace siborang {

inline constexpr const char* kMemoFileName = "PostIt.dat";

// Opens PostIt.dat in the current directory, creating it empty when there is none;
// shared with other processes for reading only. Raises IoError.
void OpenMemoFile();
// Whole records in the file (a trailing partial record does not count). Raises IoError.
std::int32_t MemoCount();
// 0 on success, -1 on failure (never raises).
int ReadMemo(std::int32_t index, MemoRecord& destination);
// 0 on success, -1 on failure (never raises). index == MemoCount() adds a last record.
int WriteMemo(std::int32_t index, MemoRecord record);
// Stores the record after the last whole record. Raises IoError.
void AppendMemo(MemoRecord record);
// Removes a record, moving the later ones down. Raises IoError.
void DeleteMemo(std::int32_t index);
// Raises IoError (103 when the file object is not open).
void CloseMemoFile();
// Whether the file object is open: the editor closes it on leaving only if it is.
bool MemoFileIsOpen() noexcept;

}  // namespace siborang
