#include "win/ErrorBoundary.h"

namespace siborang::win {
namespace {

ErrorReporter reporter = nullptr;

}  // namespace

void SetErrorReporter(ErrorReporter r) noexcept { reporter = r; }

void ReportCurrentException() noexcept {
    if (reporter) reporter();
}

}  // namespace siborang::win
