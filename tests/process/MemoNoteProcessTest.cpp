// The minute tick of the started clock over a real PostIt.dat, driven by the timer's own
// message as the system would send it at the minute: the notes it raises (where they stand,
// what they say, as Wine's text trace shows their windowless labels), the chime, the bytes it
// stores, the error box of a file it may not write, and the clock's holdings over thousands
// of ticks.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "memo/MemoRecord.h"
#include "tests/common/MemoSamples.h"
#include "tests/process/MainWindowFixture.h"

namespace {

using namespace siborang::process_tests;
using siborang::MemoRecord;
using siborang::samples::Bytes;
using siborang::samples::Memo;
using siborang::win::Narrow;
using siborang::win::ToCp949;

constexpr wchar_t kNoteClass[] = L"TForm3";
constexpr UINT_PTR kMinuteTimerId = 1;  // the main window's first and only timer
constexpr auto kTickTimeout = 30s;      // a tick in minute 0 also speaks, synchronously


bool WriteAll(const std::wstring& path, const std::string& bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return bytes;
    char buffer[65536];
    DWORD n = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    return bytes;
}

// Where two byte strings first differ, for a failure message.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    if (expected.size() != actual.size())
        return "sizes " + std::to_string(expected.size()) + " and " + std::to_string(actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != actual[i])
            return "byte " + std::to_string(i) + " (record " + std::to_string(i / sizeof(MemoRecord)) + ", offset " +
                   std::to_string(i % sizeof(MemoRecord)) + ")";
    }
    return "nothing";
}

// Wine's trace writes a string as L"...", with \xxxx for every character beyond ASCII.
std::wstring DecodeTraced(std::string_view quoted) {
    std::wstring text;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') break;
        if (c != '\\' || i + 1 >= quoted.size()) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(c));
            continue;
        }
        const char e = quoted[++i];
        switch (e) {
        case 'n': text += L'\n'; break;
        case 'r': text += L'\r'; break;
        case 't': text += L'\t'; break;
        case '\\': case '"': text += static_cast<wchar_t>(e); break;
        default:
            if (i + 4 <= quoted.size()) {
                text += static_cast<wchar_t>(std::stoul(std::string(quoted.substr(i, 4)), nullptr, 16));
                i += 3;
            }
        }
    }
    return text;
}

class MemoTickTest : public MainWindowTest {
protected:
    std::wstring MemoPath() const { return workDir_.Path() + L"\\PostIt.dat"; }

    // The notes of the clock that stand on the screen, in no particular order.
    std::vector<HWND> Notes() const {
        std::vector<HWND> notes;
        for (HWND w : TopLevelWindowsOf(Pid()))
            if (ClassOf(w) == Narrow(kNoteClass) && ::IsWindowVisible(w)) notes.push_back(w);
        return notes;
    }

    // One minute tick, handled by the time this returns (as WM_TIMER comes from the system).
    bool Tick() const {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(form_, WM_TIMER, kMinuteTimerId, 0, SMTO_BLOCK,
                                     static_cast<UINT>(std::chrono::milliseconds(kTickTimeout).count()), &ignored) != 0;
    }
    // A tick that may put up a box waiting for an answer.
    bool PostTick() const { return ::PostMessageW(form_, WM_TIMER, kMinuteTimerId, 0) != FALSE; }

    // Every text the clock's window thread has drawn with DrawText since the trace offset.
    std::vector<std::wstring> DrawnSince(ULONGLONG offset) const {
        std::vector<std::wstring> texts;
        constexpr std::string_view kMarker = "DrawTextExW L\"";
        const DWORD thread = ::GetWindowThreadProcessId(form_, nullptr);
        for (const std::string& line : TraceLinesSince(g_tracePath, offset, kMarker, thread))
            texts.push_back(DecodeTraced(std::string_view(line).substr(line.find(kMarker) + kMarker.size())));
        return texts;
    }
    bool WaitDrawn(ULONGLONG offset, const std::wstring& text) const {
        return WaitUntil(form_, [&] {
            for (const auto& t : DrawnSince(offset))
                if (t == text) return true;
            return false;
        });
    }

    std::size_t VisibleBoxes() const {
        std::size_t n = 0;
        for (HWND w : TopLevelWindowsOf(Pid())) n += ClassOf(w) == "#32770" && ::IsWindowVisible(w);
        return n;
    }

    static bool ScreenIs1024By768() {
        return ::GetSystemMetrics(SM_CXSCREEN) == 1024 && ::GetSystemMetrics(SM_CYSCREEN) == 768;
    }
};

using MemoTick = MemoTickTest;
using MemoNote = MemoTickTest;
using MemoTickSoak = MemoTickTest;

// ---------------------------------------------------------------------------------------------

TEST_F(MemoTick, OneTickShowsTheMissedMemoOnceOnTopAndStoresOnlyItsConfirmation) {
    const std::string before = Bytes({
        Memo(2099, 12, 31, 23, 59, L"아직 먼 메모"),
        Memo(2020, 3, 4, 5, 6, L"첫째 줄", L"둘째 줄", L"셋째 줄"),
        Memo(2019, 1, 2, 3, 4, L"이미 본 메모", L"", L"", 1),
    });
    ASSERT_TRUE(WriteAll(MemoPath(), before));
    ASSERT_NO_FATAL_FAILURE(Start(/*traceSound=*/true, /*traceText=*/true));
    const SoundTrace sounds(g_tracePath);
    const ULONGLONG mark = g_tracePath.empty() ? 0 : sounds.Size();

    ASSERT_TRUE(Tick()) << "the clock did not take the tick";
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return !Notes().empty(); })) << "no note came up" << BoxNote();
    const std::vector<HWND> notes = Notes();
    ASSERT_EQ(notes.size(), 1u) << "only the missed memo is shown: the future one waits, the confirmed one was seen";
    const HWND note = notes[0];
    EXPECT_TRUE(Topmost(note));
    EXPECT_EQ(CaptionOf(note), L"지나친 메모: 2020년 3월 4일 5시 6분") << "the note is not titled with its heading";
    EXPECT_EQ(::GetWindow(note, GW_OWNER), app_) << "notes belong to the application window (no taskbar button)";
    // Neither the note nor the clock out of sight takes the keyboard from the window in front.
    EXPECT_EQ(FocusOf(note), nullptr) << "the keyboard went to " << Describe(FocusOf(note));
    if (ScreenIs1024By768()) {
        EXPECT_EQ(Describe(TopLeftOf(note)), Describe(POINT{34, 10})) << "the first note of a run";
    } else {
        std::printf("[ note     ] the screen is not 1024 x 768: the note's place goes unchecked\n");
    }

    std::string expected = before;
    expected[sizeof(MemoRecord) * 1] = 1;  // the missed memo's Confirmed byte, nothing else
    const std::string after = ReadAll(MemoPath());
    EXPECT_EQ(after, expected) << "first difference: " << FirstDifference(expected, after);

    if (g_tracePath.empty()) {
        std::printf("[ note     ] no trace file: the note's texts and its chime go unchecked\n");
    } else {
        EXPECT_TRUE(WaitDrawn(mark, L"지나친 메모: 2020년 3월 4일 5시 6분")) << "the missed heading was not drawn";
        EXPECT_TRUE(WaitDrawn(mark, L"첫째 줄   둘째 줄   셋째 줄")) << "the joined lines were not drawn";
        // An asynchronous chime is traced by the thread that plays it, a moment later.
        std::vector<std::string> clips;
        EXPECT_TRUE(WaitUntil(nullptr, [&] {
            clips = Names(sounds.ClipsSince(mark));
            return std::find(clips.begin(), clips.end(), "___ToDay") != clips.end();
        })) << "the chime was not played; clips: " << Joined(clips);
    }

    // The memo is stored confirmed: the next tick has nothing to show and writes nothing.
    const ULONGLONG secondMark = g_tracePath.empty() ? 0 : sounds.Size();
    ASSERT_TRUE(Tick());
    ASSERT_TRUE(Answers(note));
    EXPECT_EQ(Notes(), notes);
    EXPECT_EQ(ReadAll(MemoPath()), expected);
    if (!g_tracePath.empty()) {
        const auto clips = Names(sounds.ClipsSince(secondMark));
        EXPECT_EQ(std::find(clips.begin(), clips.end(), "___ToDay"), clips.end()) << "clips: " << Joined(clips);
    }
}

TEST_F(MemoTick, UnwritableMemoFileShowsFileAccessDeniedOnEveryTickAndTheTimerGoesOn) {
    wchar_t dir[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"SIBORANG_LOCKED_DIR", dir, MAX_PATH))
        GTEST_SKIP() << "SIBORANG_LOCKED_DIR names no directory with an unwritable PostIt.dat";
    const std::wstring locked = std::wstring(dir) + L"\\PostIt.dat";
    {
        FileHandle probe(::CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (probe) GTEST_SKIP() << "the PostIt.dat in " << Narrow(dir) << " can be written here";
    }
    const std::string before = ReadAll(locked);
    startDir_ = dir;
    ASSERT_NO_FATAL_FAILURE(Start());

    // Two ticks: the second proves the timer still runs after the first one failed (a
    // stopped timer ignores its message).
    for (int tick = 1; tick <= 2; ++tick) {
        SCOPED_TRACE("tick " + std::to_string(tick));
        ASSERT_TRUE(PostTick());
        const auto box = WaitForErrorBox();
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(Narrow(box->text), "File access denied.");
        EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(VisibleBoxes(), 1u) << "one box per tick";
        ASSERT_TRUE(AnswerBox(box->hwnd));
        EXPECT_EQ(VisibleBoxes(), 0u);
    }
    EXPECT_TRUE(Notes().empty()) << "the memos of a file that could not be opened are not shown";
    EXPECT_EQ(ReadAll(locked), before);
    EXPECT_TRUE(clock_->Running());
}

TEST_F(MemoNote, XClosesOnlyItsOwnNote) {
    ASSERT_TRUE(WriteAll(MemoPath(), Bytes({Memo(2021, 5, 5, 10, 0, L"하나"), Memo(2021, 5, 5, 10, 0, L"둘")})));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Tick());
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return Notes().size() == 2; })) << Notes().size() << " notes" << BoxNote();
    const std::vector<HWND> notes = Notes();
    EXPECT_NE(Describe(TopLeftOf(notes[0])), Describe(TopLeftOf(notes[1]))) << "each note has a place of its own";

    const HWND closeButton = ::FindWindowExW(notes[0], nullptr, L"Button", L"X");
    ASSERT_NE(closeButton, nullptr) << "no \"X\" on the note";
    ASSERT_TRUE(::PostMessageW(closeButton, BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return !::IsWindow(notes[0]); })) << "\"X\" did not close its note";
    EXPECT_TRUE(::IsWindowVisible(notes[1])) << "the other note closed too";
    EXPECT_TRUE(Topmost(notes[1]));
    EXPECT_TRUE(clock_->Running());
}

// Another program: a window whose thread handles its messages all along, as a program's does
// (Wine tells a window of its activation and of the X focus through them).
class OtherProgram {
public:
    OtherProgram() : thread_([this] { Run(); }) {
        WaitUntil(nullptr, [&] { return window_.load() != nullptr; });
    }
    ~OtherProgram() {
        ::PostThreadMessageW(threadId_.load(), WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_.load(); }

private:
    void Run() {
        threadId_ = ::GetCurrentThreadId();
        const HWND window = ::CreateWindowExW(0, L"Static", L"another program", WS_POPUP | WS_VISIBLE, 600, 600, 200,
                                              60, nullptr, nullptr, nullptr, nullptr);
        window_ = window;
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
        ::DestroyWindow(window);
    }

    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// Another program in front, a note clicked and closed with Enter: the keyboard goes back to
// that program, not to the other note, where the next Space would close it unread.
TEST_F(MemoNote, ClosedByKeyboardItGivesTheActivationBackToTheWindowBeforeIt) {
    ASSERT_TRUE(WriteAll(MemoPath(), Bytes({Memo(2021, 5, 5, 10, 0, L"하나"), Memo(2021, 5, 5, 10, 0, L"둘")})));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Tick());
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return Notes().size() == 2; })) << Notes().size() << " notes" << BoxNote();
    const std::vector<HWND> notes = Notes();  // front to back: the newer lies on top
    const OtherProgram other;
    ASSERT_NE(other.Window(), nullptr);
    const auto inFront = [&](HWND wanted) { return WaitUntil(nullptr, [&] { return ::GetForegroundWindow() == wanted; }); };
    ::SetForegroundWindow(other.Window());
    ASSERT_TRUE(inFront(other.Window())) << "the other window is not in front";

    const RECT rc = RectOf(notes[0]);
    ASSERT_TRUE(RealClick({rc.left + 100, rc.top + 100})) << "SendInput refused the click";
    ASSERT_TRUE(inFront(notes[0])) << "the click did not activate the note; in front: "
                                   << Describe(::GetForegroundWindow());
    ASSERT_TRUE(TapKeys({VK_RETURN}));
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return !::IsWindow(notes[0]); })) << "Enter did not close the note";
    EXPECT_TRUE(inFront(other.Window())) << "in front after the note closed: " << Describe(::GetForegroundWindow());
    EXPECT_NE(ActiveOf(notes[1]), notes[1]) << "the other note took the keyboard";
    EXPECT_TRUE(::IsWindowVisible(notes[1]));
}

TEST_F(MemoNote, StaysOpenWhileTheMainWindowIsShownAndHiddenAgain) {
    ASSERT_TRUE(WriteAll(MemoPath(), Bytes({Memo(2022, 1, 1, 9, 30, L"남는 메모")})));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Tick());
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return Notes().size() == 1; })) << BoxNote();
    const HWND note = Notes()[0];
    const POINT place = TopLeftOf(note);

    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    ASSERT_TRUE(ClickRun());
    ASSERT_TRUE(WaitShown(false)) << "Run did not hide the main window" << BoxNote();

    EXPECT_TRUE(::IsWindow(note) && ::IsWindowVisible(note)) << "the note went with the main window";
    EXPECT_EQ(Describe(TopLeftOf(note)), Describe(place));
    EXPECT_TRUE(Topmost(note));
}

TEST_F(MemoTickSoak, FiveThousandTicksOverAThousandPendingMemosKeepHandlesWindowsAndMemoryFlat) {
    constexpr int kWarmUpTicks = 50;
    constexpr int kTicks = 5000;
    constexpr std::size_t kHandleSlack = 5;
    constexpr SIZE_T kMemorySlack = 256 * 1024;

    // Nothing due (all in the future) and no interval announcement: every tick reads the
    // whole file and shows nothing.
    ASSERT_TRUE(::WritePrivateProfileStringW(L"TOCKLY", L"Check1", L"0", SettingsPath().c_str()));
    std::vector<MemoRecord> records;
    for (int i = 0; i < 1000; ++i) records.push_back(Memo(2099, 1 + i % 12, 1 + i % 28, i % 24, i % 60, L"먼 훗날"));
    const std::string bytes = Bytes(records);
    ASSERT_TRUE(WriteAll(MemoPath(), bytes));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_FALSE(::SendMessageW(intervalSwitch_, BM_GETCHECK, 0, 0) == BST_CHECKED) << "the settings file was not read";

    // Ticks in minute 0 also speak the hour, some seconds each: keep the run, a few seconds
    // long, out of it. The wait is 100 s at most, well inside a test's deadline (waiting out
    // minutes 58 to 0 once outlasted it, and the deadline ended the clock mid-run).
    SYSTEMTIME now;
    for (::GetLocalTime(&now); now.wMinute == 0 || (now.wMinute == 59 && now.wSecond >= 20); ::GetLocalTime(&now))
        std::this_thread::sleep_for(1s);

    for (int n = 0; n < kWarmUpTicks; ++n) ASSERT_TRUE(Tick()) << "warm-up tick " << n;
    std::string handleSource;
    const Usage before = UsageOf(clock_->ProcessHandle(), Pid(), handleSource);
    const auto started = Clock::now();
    for (int n = 0; n < kTicks; ++n) ASSERT_TRUE(Tick()) << "tick " << n << BoxNote();
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const Usage after = UsageOf(clock_->ProcessHandle(), Pid(), handleSource);

    std::printf("[ soak     ] %d ticks over 1,000 memos in %.1f s (%.2f ms each); handles %zu -> %zu (from %s); "
                "private bytes %zu -> %zu; windows %zu -> %zu\n",
                kTicks, seconds, seconds * 1000 / kTicks, before.handles, after.handles, handleSource.c_str(),
                static_cast<std::size_t>(before.privateBytes), static_cast<std::size_t>(after.privateBytes),
                before.windows, after.windows);

    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(ReadAll(MemoPath()), bytes) << "a tick with nothing due wrote to the file";
    ASSERT_GT(before.handles, 0u) << "the clock's handles cannot be counted from here (" << handleSource << ")";
    EXPECT_LE(after.handles, before.handles + kHandleSlack) << "handles grew over " << kTicks << " ticks";
    ASSERT_GT(before.privateBytes, 0u) << "the clock's private memory cannot be read from here";
    EXPECT_LE(after.privateBytes, before.privateBytes + kMemorySlack)
        << "private memory grew by " << (after.privateBytes - before.privateBytes) / 1024 << " KiB";
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_TRUE(clock_->Running());
}

}  // namespace
