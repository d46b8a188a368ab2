#include "win/StartupTrace.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "win/SystemLibrary.h"
#include "win/Win32.h"

namespace siborang::win::startup {
namespace {

struct Entry {
    const char* name;
    double ms;
};

// Fixed storage: tracing must not allocate, fail or throw.
struct Trace {
    wchar_t path[MAX_PATH] = {};
    bool enabled = false;
    bool finished = false;
    double ticksPerMs = 1;
    long long last = 0;
    long long nested = 0;  // section time since the last mark
    Entry entries[64] = {};
    int count = 0;
};

long long Ticks() noexcept {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The finest clock the system has: the precise one came with Windows 8, so it is looked up, and
// Windows 7 reads the ordinary one (a tick of up to 16 ms, enough for the first step's length).
void Now(FILETIME* now) noexcept {
    static const auto precise =
        FindExport<void WINAPI(LPFILETIME)>(::GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime");
    if (precise) {
        precise(now);
    } else {
        ::GetSystemTimeAsFileTime(now);
    }
}

Trace& State() noexcept {
    static Trace trace = [] {
        Trace t;
        const DWORD n = ::GetEnvironmentVariableW(L"SIBORANG_STARTUP_TRACE", t.path, MAX_PATH);
        t.enabled = n > 0 && n < MAX_PATH;
        if (!t.enabled) return t;
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        t.ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
        // The first step reaches back to the process's creation: loader and runtime.
        FILETIME created, exited, kernel, user, now;
        ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
        Now(&now);
        const auto value = [](const FILETIME& f) {
            return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
        };
        const double sinceCreation = static_cast<double>(value(now) - value(created)) / 10000.0;  // 100 ns units
        t.last = Ticks() - static_cast<long long>(sinceCreation * t.ticksPerMs);
        return t;
    }();
    return trace;
}

void Add(Trace& t, const char* name, long long ticks) noexcept {
    const double ms = static_cast<double>(ticks) / t.ticksPerMs;
    for (int i = 0; i < t.count; ++i) {
        if (std::strcmp(t.entries[i].name, name) == 0) {
            t.entries[i].ms += ms;
            return;
        }
    }
    if (t.count < 64) t.entries[t.count++] = {name, ms};
}

}  // namespace

void Mark(const char* step) noexcept {
    Trace& t = State();
    if (!t.enabled || t.finished) return;
    const long long now = Ticks();
    Add(t, step, now - t.last - t.nested);
    t.last = now;
    t.nested = 0;
}

Section::Section(const char* kind) noexcept
    : kind_(State().enabled && !State().finished ? kind : nullptr), start_(kind_ ? Ticks() : 0) {}

Section::~Section() {
    if (!kind_) return;
    Trace& t = State();
    const long long spent = Ticks() - start_;
    Add(t, kind_, spent);
    t.nested += spent;
}

void Finish() noexcept {
    Trace& t = State();
    if (!t.enabled || t.finished) return;
    t.finished = true;
    const std::unique_ptr<FILE, int (*)(FILE*)> out(_wfopen(t.path, L"w"), &std::fclose);
    if (!out) return;
    for (int i = 0; i < t.count; ++i) std::fprintf(out.get(), "%s\t%.3f\n", t.entries[i].name, t.entries[i].ms);
}

}  // namespace siborang::win::startup
