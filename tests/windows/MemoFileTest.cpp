#include "memo/MemoFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "core/Errors.h"
#include "tests/common/Folders.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang {
namespace {

constexpr wchar_t kFileName[] = L"PostIt.dat";
constexpr std::size_t kRecord = kMemoRecordSize;

using Bytes = std::vector<std::uint8_t>;

win::FileHandle OpenOther(DWORD access, DWORD share) {
    return win::FileHandle(CreateFileW(kFileName, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
}

// Shares writing so that it can look while our own file object holds the file.
Bytes FileBytes() {
    win::FileHandle file = OpenOther(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file) {
        ADD_FAILURE() << "cannot read PostIt.dat, error " << GetLastError();
        return {};
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size)) {
        ADD_FAILURE() << "cannot size PostIt.dat, error " << GetLastError();
        return {};
    }
    Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        ADD_FAILURE() << "short read of PostIt.dat";
    return bytes;
}

void PutFile(const Bytes& bytes) {
    win::FileHandle file(CreateFileW(kFileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    ASSERT_TRUE(static_cast<bool>(file)) << "cannot create PostIt.dat, error " << GetLastError();
    DWORD written = 0;
    if (!bytes.empty()) {
        ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr));
    }
    ASSERT_EQ(written, bytes.size());
}

bool FileExists() {
    const DWORD attributes = GetFileAttributesW(kFileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Bytes BytesOf(const MemoRecord& record) {
    Bytes bytes(kRecord);
    std::memcpy(bytes.data(), &record, kRecord);
    return bytes;
}

// Every byte, padding and line tails included, differs between seeds.
MemoRecord Sample(std::uint8_t seed) {
    MemoRecord record;
    auto* raw = reinterpret_cast<std::uint8_t*>(&record);
    for (std::size_t i = 0; i < kRecord; ++i) raw[i] = static_cast<std::uint8_t>(seed * 31 + i);
    record.Confirmed = seed & 1;
    record.Year = static_cast<std::int16_t>(2000 + seed);
    record.Month = static_cast<std::int16_t>(1 + seed % 12);
    record.Day = static_cast<std::int16_t>(1 + seed % 28);
    record.Hour = static_cast<std::int16_t>(seed % 24);
    record.Minute = static_cast<std::int16_t>(seed % 60);
    record.Lines[0].Assign("memo " + std::to_string(seed));
    return record;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Filler(std::size_t size, std::uint8_t value) { return Bytes(size, value); }

template <typename F>
testing::AssertionResult RaisesIoError(F&& action, std::uint32_t code, std::string_view text) {
    try {
        action();
    } catch (const IoError& error) {
        if (error.Code() != code || error.what() != text)
            return testing::AssertionFailure()
                   << "raised IoError " << error.Code() << " \"" << error.what() << "\", expected "
                   << code << " \"" << text << "\"";
        return testing::AssertionSuccess();
    } catch (const std::exception& error) {
        return testing::AssertionFailure() << "raised another error: " << error.what();
    }
    return testing::AssertionFailure() << "raised nothing, expected IoError " << code;
}

bool IsClosed() {
    try {
        MemoCount();
    } catch (const IoError& error) {
        return error.Code() == kIoFileNotOpen;
    }
    return false;
}


void CloseQuietly() {
    try {
        CloseMemoFile();
    } catch (...) {
    }
}

// Each test runs in a fresh directory of its own, with the file object closed.
class MemoFileFixture : public testing::Test {
protected:
    void SetUp() override {
        CloseQuietly();
        folder_.emplace(L"siborang-memo-");
        ASSERT_TRUE(folder_->Ready());
    }

    void TearDown() override {
        CloseQuietly();
        folder_.reset();
    }

private:
    std::optional<probes::WorkingFolder> folder_;
};

class MemoFileOpen : public MemoFileFixture {};

TEST_F(MemoFileOpen, CreatesAnEmptyFileWhenThereIsNone) {
    ASSERT_FALSE(FileExists());
    OpenMemoFile();
    EXPECT_TRUE(FileExists());
    EXPECT_EQ(MemoCount(), 0);
    EXPECT_TRUE(FileBytes().empty());
}

TEST_F(MemoFileOpen, KeepsTheRecordsOfAnExistingFile) {
    const Bytes original = Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3)), Filler(100, 0xEE)});
    PutFile(original);

    OpenMemoFile();
    EXPECT_EQ(MemoCount(), 3);
    EXPECT_EQ(FileBytes(), original);
    for (std::int32_t i = 0; i < 3; ++i) {
        MemoRecord record;
        ASSERT_EQ(ReadMemo(i, record), 0);
        EXPECT_EQ(BytesOf(record), BytesOf(Sample(static_cast<std::uint8_t>(i + 1)))) << "record " << i;
    }
}

TEST_F(MemoFileOpen, WhatWasWrittenIsThereAfterReopening) {
    OpenMemoFile();
    AppendMemo(Sample(10));
    AppendMemo(Sample(11));
    CloseMemoFile();

    OpenMemoFile();
    ASSERT_EQ(MemoCount(), 2);
    MemoRecord record;
    ASSERT_EQ(ReadMemo(1, record), 0);
    EXPECT_EQ(BytesOf(record), BytesOf(Sample(11)));
}

TEST_F(MemoFileOpen, OpeningAgainReplacesTheOpenHandle) {
    OpenMemoFile();
    AppendMemo(Sample(4));
    // A leftover handle of our own would refuse the second open its write access.
    OpenMemoFile();
    EXPECT_EQ(MemoCount(), 1);
    CloseMemoFile();
    win::FileHandle exclusive = OpenOther(GENERIC_READ | GENERIC_WRITE, 0);
    EXPECT_TRUE(static_cast<bool>(exclusive)) << "a handle stayed open, error " << GetLastError();
}

TEST_F(MemoFileOpen, ADirectoryOfThatNameIsNotTheFile) {
    ASSERT_TRUE(CreateDirectoryW(kFileName, nullptr));
    EXPECT_TRUE(RaisesIoError([] { OpenMemoFile(); }, 5, "File access denied"));
    EXPECT_TRUE(IsClosed());
    const DWORD attributes = GetFileAttributesW(kFileName);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows refuses writers into a read-only file; Wine run by root lets them in, and only an
// immutable file is refused there, with the code Windows gives a read-only one: the test run
// leaves one in SIBORANG_LOCKED_DIR (scripts/wine-prefix.sh --locked-memo).
TEST_F(MemoFileOpen, AReadOnlyFileIsRefused) {
    PutFile(BytesOf(Sample(5)));
    ASSERT_TRUE(SetFileAttributesW(kFileName, FILE_ATTRIBUTE_READONLY));
    if (OpenOther(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        wchar_t dir[MAX_PATH];
        ASSERT_TRUE(GetEnvironmentVariableW(L"SIBORANG_LOCKED_DIR", dir, MAX_PATH))
            << "this system ignores the read-only bit, and SIBORANG_LOCKED_DIR names no unchangeable PostIt.dat";
        ASSERT_TRUE(SetCurrentDirectoryW(dir));
        ASSERT_FALSE(OpenOther(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE))
            << "the PostIt.dat in SIBORANG_LOCKED_DIR takes writers (chattr +i needs root)";
    }
    const Bytes original = FileBytes();
    EXPECT_TRUE(RaisesIoError([] { OpenMemoFile(); }, 5, "File access denied"));
    EXPECT_TRUE(IsClosed());
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(MemoFileOpen, AFileAnotherHoldsForWritingIsRefused) {
    const Bytes original = BytesOf(Sample(6));
    PutFile(original);
    win::FileHandle writer = OpenOther(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(static_cast<bool>(writer));
    EXPECT_TRUE(RaisesIoError([] { OpenMemoFile(); }, 32, "I/O error 32"));
    EXPECT_TRUE(IsClosed());
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(MemoFileOpen, AFileAnotherHoldsWithoutSharingIsRefused) {
    PutFile(BytesOf(Sample(7)));
    win::FileHandle reader = OpenOther(GENERIC_READ, 0);
    ASSERT_TRUE(static_cast<bool>(reader));
    EXPECT_TRUE(RaisesIoError([] { OpenMemoFile(); }, 32, "I/O error 32"));
    EXPECT_TRUE(IsClosed());
}

TEST_F(MemoFileOpen, OthersMayReadButNotWriteWhileItIsOpen) {
    PutFile(BytesOf(Sample(8)));
    OpenMemoFile();

    win::FileHandle reader = OpenOther(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_TRUE(static_cast<bool>(reader)) << "error " << GetLastError();

    win::FileHandle writer = OpenOther(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    const DWORD error = GetLastError();
    EXPECT_FALSE(static_cast<bool>(writer));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

class MemoFileCount : public MemoFileFixture {};

TEST_F(MemoFileCount, CountsWholeRecordsOnly) {
    const struct {
        std::size_t size;
        std::int32_t count;
    } cases[] = {{0, 0}, {1, 0}, {225, 0}, {226, 1}, {227, 1}, {451, 1}, {452, 2}, {500, 2}, {678, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        PutFile(Filler(c.size, 0x42));
        OpenMemoFile();
        EXPECT_EQ(MemoCount(), c.count);
        CloseMemoFile();
    }
}

TEST_F(MemoFileCount, FollowsTheFileAsItGrowsAndShrinks) {
    OpenMemoFile();
    ASSERT_EQ(MemoCount(), 0);
    ASSERT_EQ(WriteMemo(0, Sample(1)), 0);
    EXPECT_EQ(MemoCount(), 1);
    AppendMemo(Sample(2));
    EXPECT_EQ(MemoCount(), 2);
    DeleteMemo(0);
    EXPECT_EQ(MemoCount(), 1);
}

TEST_F(MemoFileCount, RaisesWhenClosed) {
    EXPECT_TRUE(RaisesIoError([] { MemoCount(); }, 103, "I/O error 103"));
    OpenMemoFile();
    CloseMemoFile();
    EXPECT_TRUE(RaisesIoError([] { MemoCount(); }, 103, "I/O error 103"));
}

class MemoFileRead : public MemoFileFixture {
protected:
    // What a failed read must leave alone.
    static MemoRecord Untouched() { return Sample(0xAB); }
};

TEST_F(MemoFileRead, ReadsEachRecordFromItsOwnOffset) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3))}));
    OpenMemoFile();
    for (const std::int32_t i : {2, 0, 1}) {
        MemoRecord record = Untouched();
        ASSERT_EQ(ReadMemo(i, record), 0) << "record " << i;
        EXPECT_EQ(BytesOf(record), BytesOf(Sample(static_cast<std::uint8_t>(i + 1)))) << "record " << i;
    }
}

// Scans skip the seek while the file pointer already stands at the record; whatever moved it
// in between (a write, a failed read, a delete, an append) must not leave a stale position.
TEST_F(MemoFileRead, MixedTransfersEachReachTheirOwnRecord) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3)), BytesOf(Sample(4))}));
    OpenMemoFile();
    auto expectRecord = [](std::int32_t index, std::uint8_t seed) {
        MemoRecord record = Untouched();
        ASSERT_EQ(ReadMemo(index, record), 0) << "record " << index;
        EXPECT_EQ(BytesOf(record), BytesOf(Sample(seed))) << "record " << index;
    };
    expectRecord(0, 1);
    expectRecord(1, 2);
    ASSERT_EQ(WriteMemo(0, Sample(9)), 0);  // leaves the pointer after record 0
    expectRecord(1, 2);
    expectRecord(0, 9);
    MemoRecord record = Untouched();
    EXPECT_EQ(ReadMemo(7, record), -1);
    expectRecord(1, 2);
    expectRecord(3, 4);
    DeleteMemo(0);  // 2, 3, 4
    expectRecord(0, 2);
    AppendMemo(Sample(5));  // 2, 3, 4, 5
    expectRecord(3, 5);
    expectRecord(2, 4);
    CloseMemoFile();
    OpenMemoFile();
    expectRecord(1, 3);
}

TEST_F(MemoFileRead, PastTheLastRecordFailsAndLeavesTheDestination) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2))}));
    OpenMemoFile();
    MemoRecord record = Untouched();
    EXPECT_EQ(ReadMemo(2, record), -1);
    EXPECT_EQ(BytesOf(record), BytesOf(Untouched()));
    EXPECT_EQ(ReadMemo(3, record), -1);
    EXPECT_EQ(BytesOf(record), BytesOf(Untouched()));
}

TEST_F(MemoFileRead, ATrailingPartialRecordIsNotRead) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), Filler(48, 0x77)}));
    OpenMemoFile();
    MemoRecord record = Untouched();
    EXPECT_EQ(ReadMemo(2, record), -1);
    // Only the 48 bytes that came may have changed.
    const Bytes got = BytesOf(record);
    const Bytes untouched = BytesOf(Untouched());
    EXPECT_TRUE(std::equal(got.begin() + 48, got.end(), untouched.begin() + 48));
}

TEST_F(MemoFileRead, NegativeAndFarIndexesFail) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3))}));
    OpenMemoFile();
    // 226 times this index wraps to byte 2 in 32 bits; in 64 bits it is far past the end.
    constexpr std::int32_t kWrapsToByteTwo = 266059921;
    static_assert(static_cast<std::uint32_t>(kWrapsToByteTwo * std::uint64_t{226}) == 2u);
    for (const std::int32_t index : {-1, -2, std::numeric_limits<std::int32_t>::min(), kWrapsToByteTwo,
                                     std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(index);
        MemoRecord record = Untouched();
        EXPECT_EQ(ReadMemo(index, record), -1);
        EXPECT_EQ(BytesOf(record), BytesOf(Untouched()));
    }
}

TEST_F(MemoFileRead, FailsWhenClosed) {
    PutFile(BytesOf(Sample(1)));
    MemoRecord record = Untouched();
    EXPECT_EQ(ReadMemo(0, record), -1);
    EXPECT_EQ(BytesOf(record), BytesOf(Untouched()));
}

class MemoFileWrite : public MemoFileFixture {};

TEST_F(MemoFileWrite, AtTheCountOfAnEmptyFileCreatesRecordZero) {
    OpenMemoFile();
    ASSERT_EQ(WriteMemo(0, Sample(9)), 0);
    EXPECT_EQ(MemoCount(), 1);
    // Padding and the bytes past each line's text go to disk as they are.
    EXPECT_EQ(FileBytes(), BytesOf(Sample(9)));
}

TEST_F(MemoFileWrite, ReplacesOnlyItsOwnRecord) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3))}));
    OpenMemoFile();
    ASSERT_EQ(WriteMemo(1, Sample(20)), 0);
    EXPECT_EQ(FileBytes(), Concat({BytesOf(Sample(1)), BytesOf(Sample(20)), BytesOf(Sample(3))}));
}

TEST_F(MemoFileWrite, AtTheCountAddsOneRecord) {
    PutFile(Concat({BytesOf(Sample(1)), BytesOf(Sample(2))}));
    OpenMemoFile();
    ASSERT_EQ(WriteMemo(2, Sample(3)), 0);
    EXPECT_EQ(MemoCount(), 3);
    EXPECT_EQ(FileBytes(), Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3))}));
}

TEST_F(MemoFileWrite, ANegativeIndexFailsAndChangesNothing) {
    const Bytes original = Concat({BytesOf(Sample(1)), BytesOf(Sample(2))});
    PutFile(original);
    OpenMemoFile();
    EXPECT_EQ(WriteMemo(-1, Sample(3)), -1);
    EXPECT_EQ(WriteMemo(std::numeric_limits<std::int32_t>::min(), Sample(3)), -1);
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(MemoFileWrite, FailsWhenClosed) {
    EXPECT_EQ(WriteMemo(0, Sample(1)), -1);
    EXPECT_FALSE(FileExists());
}

class MemoFileAppend : public MemoFileFixture {};

TEST_F(MemoFileAppend, AddsAfterTheLastRecordInOrder) {
    OpenMemoFile();
    AppendMemo(Sample(1));
    AppendMemo(Sample(2));
    AppendMemo(Sample(3));
    EXPECT_EQ(MemoCount(), 3);
    EXPECT_EQ(FileBytes(), Concat({BytesOf(Sample(1)), BytesOf(Sample(2)), BytesOf(Sample(3))}));
}

TEST_F(MemoFileAppend, OverwritesATrailingPartialRecord) {
    const Bytes whole = Concat({BytesOf(Sample(1)), BytesOf(Sample(2))});
    PutFile(Concat({whole, Filler(500 - whole.size(), 0x99)}));
    OpenMemoFile();
    ASSERT_EQ(MemoCount(), 2);
    AppendMemo(Sample(3));
    const Bytes after = FileBytes();
    EXPECT_EQ(after.size(), 678u);
    EXPECT_EQ(after, Concat({whole, BytesOf(Sample(3))}));
    EXPECT_EQ(MemoCount(), 3);
}

TEST_F(MemoFileAppend, RaisesWhenClosed) {
    EXPECT_TRUE(RaisesIoError([] { AppendMemo(Sample(1)); }, 103, "I/O error 103"));
    EXPECT_FALSE(FileExists());
}

class MemoFileDelete : public MemoFileFixture {
protected:
    static Bytes Records(std::initializer_list<std::uint8_t> seeds) {
        Bytes all;
        for (const std::uint8_t seed : seeds) {
            const Bytes one = BytesOf(Sample(seed));
            all.insert(all.end(), one.begin(), one.end());
        }
        return all;
    }
};

TEST_F(MemoFileDelete, InTheMiddleMovesTheLaterRecordsDown) {
    PutFile(Records({1, 2, 3, 4}));
    OpenMemoFile();
    DeleteMemo(1);
    EXPECT_EQ(MemoCount(), 3);
    EXPECT_EQ(FileBytes(), Records({1, 3, 4}));
}

TEST_F(MemoFileDelete, TheFirstAndTheLast) {
    PutFile(Records({1, 2, 3}));
    OpenMemoFile();
    DeleteMemo(0);
    EXPECT_EQ(FileBytes(), Records({2, 3}));
    DeleteMemo(1);
    EXPECT_EQ(FileBytes(), Records({2}));
}

TEST_F(MemoFileDelete, TheOnlyRecordLeavesAnEmptyFile) {
    OpenMemoFile();
    AppendMemo(Sample(1));
    DeleteMemo(0);
    EXPECT_EQ(MemoCount(), 0);
    EXPECT_TRUE(FileExists());
    EXPECT_TRUE(FileBytes().empty());
}

TEST_F(MemoFileDelete, DropsATrailingPartialRecord) {
    PutFile(Concat({Records({1, 2}), Filler(48, 0x55)}));
    OpenMemoFile();
    DeleteMemo(0);
    EXPECT_EQ(FileBytes(), Records({2}));
}

TEST_F(MemoFileDelete, OnAnEmptyFileRaisesTheRefusedPosition) {
    OpenMemoFile();
    EXPECT_TRUE(RaisesIoError([] { DeleteMemo(0); }, ERROR_NEGATIVE_SEEK, "I/O error 131"));
    EXPECT_EQ(MemoCount(), 0) << "the file object stays open";
    EXPECT_TRUE(FileBytes().empty());
}

TEST_F(MemoFileDelete, ANegativeIndexStopsAtTheFirstRefusal) {
    const Bytes original = Records({1, 2, 3});
    PutFile(original);
    OpenMemoFile();
    EXPECT_TRUE(RaisesIoError([] { DeleteMemo(-1); }, ERROR_NEGATIVE_SEEK, "I/O error 131"));
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(MemoFileDelete, RaisesWhenClosed) {
    PutFile(Records({1}));
    EXPECT_TRUE(RaisesIoError([] { DeleteMemo(0); }, 103, "I/O error 103"));
    EXPECT_EQ(FileBytes(), Records({1}));
}

class MemoFileClose : public MemoFileFixture {};

TEST_F(MemoFileClose, ReleasesTheFile) {
    OpenMemoFile();
    CloseMemoFile();
    EXPECT_TRUE(IsClosed());
    win::FileHandle exclusive = OpenOther(GENERIC_READ | GENERIC_WRITE, 0);
    EXPECT_TRUE(static_cast<bool>(exclusive)) << "error " << GetLastError();
}

TEST_F(MemoFileClose, RaisesWhenAlreadyClosed) {
    EXPECT_TRUE(RaisesIoError([] { CloseMemoFile(); }, 103, "I/O error 103"));
    OpenMemoFile();
    CloseMemoFile();
    EXPECT_TRUE(RaisesIoError([] { CloseMemoFile(); }, 103, "I/O error 103"));
}

}  // namespace
}  // namespace siborang
