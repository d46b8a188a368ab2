#pragma once
// Where SiborangCounted.exe (GdiCounter.cpp) keeps the number of GDI and USER objects it
// holds: a LONG in a named mapping, which the leak test reads from its own process.
namespace siborang::process_tests {

inline constexpr wchar_t kGdiCountMapping[] = L"Siborang.GdiObjects";
// The counted build of the program, beside the one under test.
inline constexpr wchar_t kCountedExe[] = L"SiborangCounted.exe";

}  // namespace siborang::process_tests
