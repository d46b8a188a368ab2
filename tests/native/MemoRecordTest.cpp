#include "memo/MemoRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace siborang {
namespace {

using Bytes = std::array<std::uint8_t, kMemoRecordSize>;

Bytes ToBytes(const MemoRecord& record) {
    Bytes bytes;
    std::memcpy(bytes.data(), &record, bytes.size());
    return bytes;
}

MemoRecord FromBytes(const Bytes& bytes) {
    MemoRecord record;
    std::memcpy(&record, bytes.data(), bytes.size());
    return record;
}

// Every byte set, so that a field landing in the wrong place shows.
MemoRecord FilledRecord(std::uint8_t fill) {
    Bytes bytes;
    bytes.fill(fill);
    return FromBytes(bytes);
}

std::string TextOfLength(std::size_t length, char first) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>(first + i % 26));
    return text;
}

std::uint16_t Word(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

TEST(MemoRecordLayout, FieldsLieAtTheirOffsetsLittleEndian) {
    MemoRecord record = FilledRecord(0xCC);
    record.Confirmed = 1;
    record.Year = 2026;
    record.Month = 12;
    record.Day = 31;
    record.Hour = 23;
    record.Minute = 0x0159;
    record.Lines[0].Assign("ab");
    record.Lines[1].Assign("xyz");
    record.Lines[2].Assign("q");

    const Bytes bytes = ToBytes(record);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[1], 0xCC) << "padding after the flag belongs to nobody";
    EXPECT_EQ(bytes[2], 0xEA);
    EXPECT_EQ(bytes[3], 0x07);
    EXPECT_EQ(Word(bytes, 4), 12);
    EXPECT_EQ(Word(bytes, 6), 31);
    EXPECT_EQ(Word(bytes, 8), 23);
    EXPECT_EQ(bytes[10], 0x59);
    EXPECT_EQ(bytes[11], 0x01);

    EXPECT_EQ(bytes[12], 2);
    EXPECT_EQ(bytes[13], 'a');
    EXPECT_EQ(bytes[14], 'b');
    EXPECT_EQ(bytes[15], 0xCC);

    EXPECT_EQ(bytes[83], 3);
    EXPECT_EQ(bytes[84], 'x');
    EXPECT_EQ(bytes[85], 'y');
    EXPECT_EQ(bytes[86], 'z');
    EXPECT_EQ(bytes[87], 0xCC);

    EXPECT_EQ(bytes[154], 1);
    EXPECT_EQ(bytes[155], 'q');
    EXPECT_EQ(bytes[156], 0xCC);

    EXPECT_EQ(bytes[224], 0xCC) << "last text byte of the third line";
    EXPECT_EQ(bytes[225], 0xCC) << "trailing padding";
}

TEST(MemoRecordLayout, BytesFromAFileReadAsFields) {
    Bytes bytes{};
    bytes[0] = 7;
    bytes[2] = 0xE9;  // 2025
    bytes[3] = 0x07;
    bytes[4] = 2;
    bytes[6] = 28;
    bytes[8] = 13;
    bytes[10] = 45;
    bytes[12] = 1;
    bytes[13] = 'M';
    bytes[83] = 70;
    for (std::size_t i = 0; i < 70; ++i) bytes[84 + i] = static_cast<std::uint8_t>('0' + i % 10);
    bytes[154] = 0;
    bytes[155] = 'X';

    const MemoRecord record = FromBytes(bytes);
    EXPECT_EQ(record.Confirmed, 7);
    EXPECT_EQ(record.Year, 2025);
    EXPECT_EQ(record.Month, 2);
    EXPECT_EQ(record.Day, 28);
    EXPECT_EQ(record.Hour, 13);
    EXPECT_EQ(record.Minute, 45);
    EXPECT_EQ(record.Lines[0].View(), "M");
    ASSERT_EQ(record.Lines[1].View().size(), 70u);
    EXPECT_EQ(record.Lines[1].View().front(), '0');
    EXPECT_EQ(record.Lines[1].View().back(), '9');
    EXPECT_EQ(record.Lines[2].View(), "");
}

TEST(MemoRecordLayout, NegativeSixteenBitFieldsSurvive) {
    MemoRecord record = FilledRecord(0);
    record.Year = -1;
    record.Month = -32768;
    record.Day = -2;
    record.Hour = 32767;
    record.Minute = -300;

    const Bytes bytes = ToBytes(record);
    EXPECT_EQ(Word(bytes, 2), 0xFFFF);
    EXPECT_EQ(Word(bytes, 4), 0x8000);
    EXPECT_EQ(Word(bytes, 6), 0xFFFE);
    EXPECT_EQ(Word(bytes, 8), 0x7FFF);
    EXPECT_EQ(Word(bytes, 10), static_cast<std::uint16_t>(-300));

    const MemoRecord back = FromBytes(bytes);
    EXPECT_EQ(back.Year, -1);
    EXPECT_EQ(back.Month, -32768);
    EXPECT_EQ(back.Day, -2);
    EXPECT_EQ(back.Hour, 32767);
    EXPECT_EQ(back.Minute, -300);
}

TEST(MemoRecordLines, TextsOfZeroOneAndFullCapacityRoundTrip) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, kMemoLineCapacity}) {
        SCOPED_TRACE(length);
        MemoRecord record = FilledRecord(0x5A);
        const std::string texts[kMemoLineCount] = {TextOfLength(length, 'a'),
                                                   TextOfLength(length, 'A'),
                                                   TextOfLength(length, 'k')};
        for (std::size_t line = 0; line < kMemoLineCount; ++line) record.Lines[line].Assign(texts[line]);

        const Bytes bytes = ToBytes(record);
        const std::size_t offsets[kMemoLineCount] = {12, 83, 154};
        for (std::size_t line = 0; line < kMemoLineCount; ++line) {
            EXPECT_EQ(bytes[offsets[line]], length);
            EXPECT_EQ(std::memcmp(bytes.data() + offsets[line] + 1, texts[line].data(), length), 0);
        }

        const MemoRecord back = FromBytes(bytes);
        for (std::size_t line = 0; line < kMemoLineCount; ++line)
            EXPECT_EQ(back.Lines[line].View(), texts[line]);
    }
}

TEST(MemoRecordLines, Cp949BytesPassThroughUnchanged) {
    // "시보" in CP949: bytes above 0x7F must not be altered or sign-trimmed.
    const std::string text = "\xBD\xC3\xBA\xB8";
    MemoLine line{};
    line.Assign(text);
    EXPECT_EQ(line.Length, 4);
    EXPECT_EQ(line.View(), text);
}

TEST(MemoRecordLines, ViewNeverReachesPastTheField) {
    MemoRecord record = FilledRecord('#');
    Bytes bytes = ToBytes(record);
    bytes[12] = 200;
    bytes[83] = 71;
    bytes[154] = 255;
    record = FromBytes(bytes);

    for (const MemoLine& line : record.Lines) {
        const std::string_view view = line.View();
        EXPECT_EQ(view.size(), kMemoLineCapacity);
        EXPECT_EQ(view.data(), line.Text);
        EXPECT_EQ(view, std::string(kMemoLineCapacity, '#'));
    }
}

TEST(MemoRecordLines, AssignCutsAtCapacityAndLeavesTheRest) {
    MemoRecord record = FilledRecord('.');
    record.Lines[0].Assign(std::string(100, 'L'));
    record.Lines[1].Assign("short");

    const Bytes bytes = ToBytes(record);
    EXPECT_EQ(bytes[12], kMemoLineCapacity);
    EXPECT_EQ(record.Lines[0].View(), std::string(kMemoLineCapacity, 'L'));
    EXPECT_EQ(bytes[83], 5) << "the cut text must not spill into the next line";
    EXPECT_EQ(record.Lines[1].View(), "short");
    // Bytes past the new text keep what they held: writers never clear them.
    for (std::size_t i = 84 + 5; i < 154; ++i) EXPECT_EQ(bytes[i], '.') << "offset " << i;

    record.Lines[1].Assign("");
    EXPECT_EQ(record.Lines[1].Length, 0);
    EXPECT_EQ(record.Lines[1].Text[0], 's');
}

}  // namespace
}  // namespace siborang
