#pragma once
// Errors that end an event handler and are shown in the standard error box.
// Portable: no Win32 here.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace siborang {

// The application's error: its text is what the error box shows (a full stop is added there).
// Texts are UTF-8.
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text or date that cannot be converted ("'x' is not a valid integer value", "Invalid
// argument to date encode").
class EConvertError : public AppError {
public:
    using AppError::AppError;
};

// A grid asked for a cell outside it ("Grid index out of range").
class EInvalidGridOperation : public AppError {
public:
    using AppError::AppError;
};

// I/O codes that are not operating-system error codes.
inline constexpr std::uint32_t kIoReadBeyondEnd = 100;
inline constexpr std::uint32_t kIoDiskFull = 101;
inline constexpr std::uint32_t kIoFileNotOpen = 103;

// The text an I/O error with this code carries.
std::string IoErrorText(std::uint32_t code);

class IoError : public AppError {
public:
    explicit IoError(std::uint32_t code) : AppError(IoErrorText(code)), code_(code) {}
    std::uint32_t Code() const noexcept { return code_; }

private:
    std::uint32_t code_;
};

}  // namespace siborang
