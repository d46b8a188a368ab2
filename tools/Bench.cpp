// Start-up, memory, memo-file and minute-tick figures, each beside its floors. Run under Wine by
// scripts/bench.sh: SiborangBench.exe <Siborang.exe> <MinimalWindow.exe> <MinimalTray.exe>
// <FairFloor.exe> [starts per round, 7] [rounds, 5]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "memo/MemoFile.h"
#include "win/Handles.h"
#include "win/Win32.h"

#include <psapi.h>

namespace {

using siborang::win::KernelHandle;

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Stands in for the shell's tray window while the tray is measured: Shell_NotifyIcon hands
// its record to the first window of this class, so the moment of the add is seen here.
class TrayProbe {
public:
    TrayProbe() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TrayProbe::Proc;
        wc.lpszClassName = L"Shell_TrayWnd";
        ::RegisterClassW(&wc);
        window_.Reset(::CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                        nullptr));
    }
    static double addedAt;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA && reinterpret_cast<COPYDATASTRUCT*>(lParam)->dwData == NIM_ADD) {
            if (addedAt == 0) addedAt = Now();
            return TRUE;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    siborang::win::Window window_;
};
double TrayProbe::addedAt = 0;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

bool HotKeyHeld() {
    if (::RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_ALT, 'W')) {
        ::UnregisterHotKey(nullptr, 0x7001);
        return false;
    }
    return true;
}

// A probe holds the hotkey for an instant, and a program registering it in that instant fails
// for good: so the probe waits until the program first waits for input, past its registration.
bool HotKeyHeldOnceIdle(HANDLE process) { return ::WaitForInputIdle(process, 0) == 0 && HotKeyHeld(); }

struct StartFigures {
    double ms;
    double privateKb;
};

enum class Until { Window, WindowAndHotKey, TrayIcon };

// Why a start did not arrive within its time, counted and printed with the figures.
struct Misses {
    int noWindow = 0, noHotKey = 0, noIcon = 0;
    int Total() const { return noWindow + noHotKey + noIcon; }
};

// Starts the program and waits until its window exists (and its hotkey is held), or until it
// has added its tray icon; nothing when it did not within the time, the reason counted.
std::optional<StartFigures> TryStart(const std::wstring& exe, const wchar_t* windowClass, Until until,
                                     double timeoutMs, bool readMemory, Misses& misses) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    TrayProbe::addedAt = 0;
    double t0 = 0;
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        // Wine now and then refuses a start while the previous program is still going away.
        t0 = Now();
        started = ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        if (!started) ::Sleep(200);
    }
    if (!started) {
        std::fprintf(stderr, "cannot start %ls: %lu\n", exe.c_str(), ::GetLastError());
        std::exit(1);
    }
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    HWND window = nullptr;
    auto ready = [&] {
        Pump();
        window = ::FindWindowW(windowClass, nullptr);
        if (until == Until::TrayIcon) return window && TrayProbe::addedAt != 0;
        return window && (until == Until::Window || HotKeyHeldOnceIdle(process.Get()));
    };
    while (!ready()) {
        if (Now() - t0 > timeoutMs) {
            if (!window) ++misses.noWindow;
            else if (until == Until::TrayIcon) ++misses.noIcon;
            else ++misses.noHotKey;
            ::TerminateProcess(process.Get(), 1);
            ::WaitForSingleObject(process.Get(), 5000);
            return std::nullopt;
        }
        ::Sleep(1);
    }
    const double ms = (until == Until::TrayIcon ? TrayProbe::addedAt : Now()) - t0;
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (readMemory) {
        // Start-up settles before memory is read; the stand-in tray keeps answering meanwhile.
        for (const double settled = Now() + 500; Now() < settled;) {
            Pump();
            ::Sleep(1);
        }
        ::GetProcessMemoryInfo(process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    }
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    // Keep answering the tray's messages while the program takes its icon away.
    for (int i = 0; i < 15000 && ::WaitForSingleObject(process.Get(), 1) == WAIT_TIMEOUT; ++i) Pump();
    if (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) ::TerminateProcess(process.Get(), 1);
    // PagefileUsage is the private commit; Wine leaves PrivateUsage at zero.
    return StartFigures{ms, static_cast<double>(pmc.PagefileUsage) / 1024.0};
}

// TryStart, again when a start stalls: Wine's own tray now and then holds an icon's add for
// seconds, and such a start measures Wine, not the program.
StartFigures Start(const std::wstring& exe, const wchar_t* windowClass, Until until, Misses& misses,
                   bool readMemory = false, double timeoutMs = 20000) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (auto figures = TryStart(exe, windowClass, until, timeoutMs, readMemory, misses)) return *figures;
        std::fprintf(stderr, "  (%ls stalled for %.0f s; started again)\n", exe.c_str(), timeoutMs / 1000);
    }
    std::fprintf(stderr, "%ls did not come up (another instance running?)\n", exe.c_str());
    std::exit(1);
}

struct Floor {
    const char* name;
    std::wstring exe;
    const wchar_t* windowClass;
    Until until;
};

// Siborang beside its floors in rounds, each start of the clock right after one of each floor so
// that all meet the same machine. A round's ratio is of its medians; the figure is the median of
// the rounds' ratios, and their spread says how far one round can be trusted.
void Compare(const char* what, const std::wstring& clock, Until clockUntil, const std::vector<Floor>& floors,
             int perRound, int rounds) {
    std::vector<double> allClock, clockKb;
    std::vector<std::vector<double>> allFloor(floors.size()), floorKb(floors.size()), roundRatios(floors.size());
    Misses clockMisses, floorMisses;
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> clockMs;
        std::vector<std::vector<double>> floorMs(floors.size());
        for (int i = 0; i < perRound; ++i) {
            // Memory hardly varies: read in the first round only, which keeps the rounds short.
            const bool readMemory = round == 0;
            for (std::size_t f = 0; f < floors.size(); ++f) {
                const auto figures =
                    Start(floors[f].exe, floors[f].windowClass, floors[f].until, floorMisses, readMemory);
                floorMs[f].push_back(figures.ms);
                if (readMemory) floorKb[f].push_back(figures.privateKb);
            }
            const auto figures = Start(clock, L"TForm1", clockUntil, clockMisses, readMemory);
            clockMs.push_back(figures.ms);
            if (readMemory) clockKb.push_back(figures.privateKb);
        }
        allClock.insert(allClock.end(), clockMs.begin(), clockMs.end());
        for (std::size_t f = 0; f < floors.size(); ++f) {
            roundRatios[f].push_back(Median(clockMs) / Median(floorMs[f]));
            allFloor[f].insert(allFloor[f].end(), floorMs[f].begin(), floorMs[f].end());
        }
    }
    std::printf("start-up to %s, %d rounds of %d: Siborang %.1f ms (median of all)\n", what, rounds, perRound,
                Median(allClock));
    for (std::size_t f = 0; f < floors.size(); ++f) {
        const auto [low, high] = std::minmax_element(roundRatios[f].begin(), roundRatios[f].end());
        std::printf("  beside %-14s %.1f ms, ratio %.2f (median of the rounds; rounds %.2f to %.2f)\n",
                    floors[f].name, Median(allFloor[f]), Median(roundRatios[f]), *low, *high);
    }
    const auto report = [](const char* who, const Misses& m) {
        if (m.Total() == 0) return;
        std::printf("  %s: %d start(s) did not arrive within 20 s and were started again: %d showed no window, "
                    "%d held no hotkey, %d added no icon\n",
                    who, m.Total(), m.noWindow, m.noHotKey, m.noIcon);
    };
    report("Siborang", clockMisses);
    report("the floors", floorMisses);
    std::printf("  private memory after start-up, median: Siborang %.0f KiB\n", Median(clockKb));
    for (std::size_t f = 0; f < floors.size(); ++f)
        std::printf("  beside %-14s %.0f KiB, ratio %.2f\n", floors[f].name, Median(floorKb[f]),
                    Median(clockKb) / Median(floorKb[f]));
}

// Where the clock's start-up time goes: the clock writes its own trace when
// SIBORANG_STARTUP_TRACE names a file (see win/StartupTrace.h); the median of each step.
void Breakdown(const std::wstring& clock, int runs) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"siborang-startup.txt";
    ::SetEnvironmentVariableW(L"SIBORANG_STARTUP_TRACE", path.c_str());
    std::vector<std::string> order;
    std::vector<std::vector<double>> times;
    for (int run = 0; run < runs; ++run) {
        ::DeleteFileW(path.c_str());
        Misses ignored;
        Start(clock, L"TForm1", Until::WindowAndHotKey, ignored);
        FILE* in = _wfopen(path.c_str(), L"r");
        if (!in) {
            std::fprintf(stderr, "the clock wrote no start-up trace\n");
            break;
        }
        char name[128];
        double ms = 0;
        while (std::fscanf(in, " %127[^\t]\t%lf", name, &ms) == 2) {
            const auto at = std::find(order.begin(), order.end(), name);
            const std::size_t i = static_cast<std::size_t>(at - order.begin());
            if (at == order.end()) {
                order.emplace_back(name);
                times.emplace_back();
            }
            times[i].push_back(ms);
        }
        std::fclose(in);
    }
    ::SetEnvironmentVariableW(L"SIBORANG_STARTUP_TRACE", nullptr);
    ::DeleteFileW(path.c_str());
    std::printf("where start-up goes, from the process's creation to its first messages, median of %d:\n", runs);
    double total = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const double ms = Median(times[i]);
        total += ms;
        std::printf("  %-40s %6.2f ms\n", order[i].c_str(), ms);
    }
    std::printf("  %-40s %6.2f ms\n", "(sum of the medians)", total);
}

std::wstring BenchDirectory() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"siborang-bench";
}

// `records` memos, of which the first `missed` have passed unseen and the rest lie ahead.
void WriteMemos(int records, int missed) {
    ::DeleteFileW(L"PostIt.dat");
    siborang::MemoRecord record{};
    siborang::OpenMemoFile();
    for (int i = 0; i < records; ++i) {
        record.Year = static_cast<std::int16_t>(i < missed ? 2020 : 2099);
        record.Month = record.Day = 1;
        siborang::WriteMemo(i, record);
    }
    siborang::CloseMemoFile();
}

void MemoFile(int records) {
    WriteMemos(records, 0);
    siborang::MemoRecord record{};
    std::vector<double> scan, remove;
    for (int run = 0; run < 5; ++run) {
        double t0 = Now();
        siborang::OpenMemoFile();
        const int n = siborang::MemoCount();
        for (int i = 0; i < n; ++i) siborang::ReadMemo(i, record);
        siborang::CloseMemoFile();
        scan.push_back(Now() - t0);

        siborang::OpenMemoFile();
        siborang::WriteMemo(siborang::MemoCount(), record);  // keep the count at `records`
        t0 = Now();
        siborang::DeleteMemo(0);
        remove.push_back(Now() - t0);
        siborang::CloseMemoFile();
    }
    std::printf("open + MemoCount + ReadMemo of %d records, median of 5: %.1f ms\n", records, Median(scan));
    std::printf("DeleteMemo(0) on %d records, median of 5: %.1f ms\n", records, Median(remove));
}

std::vector<HWND> NotesOf(DWORD pid) {
    std::vector<HWND> notes;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"TForm3", nullptr); w;
         w = ::FindWindowExW(nullptr, w, L"TForm3", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == pid) notes.push_back(w);
    }
    return notes;
}

// The running clock's minute tick over `records` memos in its working directory: sent as the
// system sends WM_TIMER, timed until the handler returns (scan, stored confirmations, notes).
void Ticks(const std::wstring& clock, int records, int due) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + clock + L"\"";
    const std::wstring dir = BenchDirectory();
    if (!::CreateProcessW(clock.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        std::fprintf(stderr, "cannot start %ls: %lu\n", clock.c_str(), ::GetLastError());
        std::exit(1);
    }
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    HWND form = nullptr;
    for (const double t0 = Now(); !(form = ::FindWindowW(L"TForm1", nullptr)) || !HotKeyHeldOnceIdle(process.Get());
         ::Sleep(1)) {
        if (Now() - t0 > 20000) {
            std::fprintf(stderr, "the clock did not come up within 20 s\n");
            ::TerminateProcess(process.Get(), 1);
            std::exit(1);
        }
    }
    auto tick = [&] {
        const double t0 = Now();
        DWORD_PTR ignored;
        ::SendMessageTimeoutW(form, WM_TIMER, 1 /* Timer1 */, 0, SMTO_BLOCK, 60000, &ignored);
        return Now() - t0;
    };
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (now.wMinute == 0) std::printf("  (minute 0: the ticks below also speak the hour)\n");

    std::vector<double> idle, busy;
    for (int run = 0; run < 7; ++run) idle.push_back(tick());
    std::size_t shown = 0;
    for (int run = 0; run < 3; ++run) {
        WriteMemos(records, due);
        busy.push_back(tick());
        const auto notes = NotesOf(pi.dwProcessId);
        shown = notes.size();
        for (HWND note : notes) ::SendMessageW(note, WM_CLOSE, 0, 0);
    }
    std::printf("minute tick over %d pending records, nothing due, median of 7: %.1f ms\n", records, Median(idle));
    std::printf("minute tick over %d records with %d missed (%zu notes shown), median of 3: %.1f ms\n", records, due,
                shown, Median(busy));

    ::PostMessageW(form, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.Get(), 15000) != WAIT_OBJECT_0) ::TerminateProcess(process.Get(), 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: SiborangBench.exe Siborang.exe MinimalWindow.exe MinimalTray.exe FairFloor.exe "
                             "[starts per round] [rounds]\n");
        return 2;
    }
    const int perRound = argc > 5 ? _wtoi(argv[5]) : 7;
    const int rounds = argc > 6 ? _wtoi(argv[6]) : 5;
    // The minimal programs show what any window or icon costs; the fair floor adds the
    // platform work the clock cannot avoid at start (comctl32's hotkey box, the hotkey).
    const Floor fairToHotKey{"the fair floor", argv[4], L"FairFloor", Until::WindowAndHotKey};
    // The first start after the Wine server came up also starts Wine's own services: not timed.
    Misses warmUp;
    Start(argv[4], L"FairFloor", Until::WindowAndHotKey, warmUp, false, 120000);
    {
        // The clock and the fair floor add their icon before they register the hotkey: this
        // stand-in takes it at once, so that Wine's own tray, which now and then stalls for
        // seconds, is measured by neither figure.
        TrayProbe probe;
        Compare("window and hotkey", argv[1], Until::WindowAndHotKey,
                {{"one window", argv[2], L"MinimalWindow", Until::Window}, fairToHotKey}, perRound, rounds);
        Compare("tray icon added", argv[1], Until::TrayIcon,
                {{"one tray icon", argv[3], L"MinimalTray", Until::TrayIcon},
                 {"the fair floor", argv[4], L"FairFloor", Until::TrayIcon}},
                perRound, rounds);
        Breakdown(argv[1], perRound);
    }
    // The memo figures use a directory of their own, where the clock is started too.
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring dir = BenchDirectory();
    ::CreateDirectoryW(dir.c_str(), nullptr);
    ::SetCurrentDirectoryW(dir.c_str());
    MemoFile(10000);
    Ticks(argv[1], 10000, 100);
    ::DeleteFileW(L"PostIt.dat");
    ::SetCurrentDirectoryW(previous);
    ::RemoveDirectoryW(dir.c_str());
    return 0;
}
