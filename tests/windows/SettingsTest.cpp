// The main window's settings through the real Tockly.ini, controls and hotkey registration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "clock/Unit1.h"
#include "core/Errors.h"
#include "tests/windows/TestSupport.h"
#include "win/Handles.h"

namespace siborang {
namespace {

std::filesystem::path SettingsPath() {
    wchar_t dir[MAX_PATH];
    ::GetWindowsDirectoryW(dir, MAX_PATH);
    return std::wstring(dir) + L"\\Tockly.ini";
}

std::string ReadKey(const char* key) {
    char buffer[256];
    ::GetPrivateProfileStringA("TOCKLY", key, "<none>", buffer, sizeof buffer, "Tockly.ini");
    return buffer;
}

// Whether another window already holds this hotkey (the test's own registration is refused).
bool HotKeyHeld(UINT modifiers, UINT key) {
    if (::RegisterHotKey(nullptr, 0x7000, modifiers, key)) {
        ::UnregisterHotKey(nullptr, 0x7000);
        return false;
    }
    return ::GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(SettingsPath(), std::ios::binary);
        if (in) {
            std::stringstream ss;
            ss << in.rdbuf();
            saved_ = ss.str();
            hadFile_ = true;
        }
        ::DeleteFileW(SettingsPath().c_str());
    }
    void TearDown() override {
        if (form_) form_->Close();  // unregisters the hotkey
        form_.reset();
        ::DeleteFileW(SettingsPath().c_str());
        if (hadFile_) std::ofstream(SettingsPath(), std::ios::binary) << saved_;
    }
    void Write(const char* key, const char* value) {
        ASSERT_TRUE(::WritePrivateProfileStringA("TOCKLY", key, value, "Tockly.ini"));
    }
    TForm1& Start() {
        form_ = std::make_unique<TForm1>(win::Application::Instance());
        return *form_;
    }

    std::unique_ptr<TForm1> form_;

private:
    std::string saved_;
    bool hadFile_ = false;
};

TEST_F(Settings, NoFileGivesTheDesignedClock) {
    TForm1& f = Start();
    EXPECT_EQ(f.HotKey1->HotKeyValue(), 0xC057);
    EXPECT_TRUE(f.CheckBox1->Checked());
    EXPECT_TRUE(f.CheckBox2->Checked());
    EXPECT_TRUE(f.Edit1->Enabled());
    EXPECT_EQ(f.Edit1->Text(), L"30");
    EXPECT_FALSE(f.Button1->Enabled());
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));
    EXPECT_EQ(f.HotKeyAtom(), ::GlobalFindAtomA("zorvek's Hotkey!!"));
    EXPECT_EQ(::GetFileAttributesW(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);  // reading creates nothing
}

TEST_F(Settings, MainWindowStartsOutOfSight) {
    TForm1& f = Start();
    wchar_t cls[16];
    ::GetClassNameW(f.Handle(), cls, 16);
    EXPECT_STREQ(cls, L"TForm1");
    const RECT rc = f.BoundsRect();
    EXPECT_EQ(rc.left, -9999);
    EXPECT_EQ(rc.top, -9999);
    testing::PumpMessages(50);  // the hide is asynchronous
    EXPECT_FALSE(f.Visible());
    EXPECT_NE(::GetWindowLongW(f.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindowLongW(f.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(f.GroupBox1->Text(), L" 작동 환경 설정 ");
    EXPECT_EQ(f.CheckBox1->Text(), L"일정한 시간마다 시간 말하기");
    EXPECT_EQ(f.CheckBox2->Text(), L"정해진 시간에 특정 메모 보여주기");
    EXPECT_EQ(f.Button1->Text(), L"들어 보기");
}

TEST_F(Settings, ListenButtonOnlyForOptionOne) {
    Write("Option1", "1");
    EXPECT_TRUE(Start().Button1->Enabled());
    form_->Close();
    Write("Option1", "2");
    EXPECT_FALSE(Start().Button1->Enabled());
}

TEST_F(Settings, IntervalAndSwitches) {
    Write("MINUTE", "-1");
    Write("Check1", "0");
    Write("Check2", "yes");
    TForm1& f = Start();
    EXPECT_EQ(f.Edit1->Text(), L"65535");
    EXPECT_FALSE(f.CheckBox1->Checked());
    EXPECT_FALSE(f.Edit1->Enabled());  // the check box's click handler ran
    EXPECT_TRUE(f.CheckBox2->Checked());
    form_->Close();
    Write("Check1", "5");
    EXPECT_TRUE(Start().CheckBox1->Checked());
    EXPECT_TRUE(form_->Edit1->Enabled());
}

TEST_F(Settings, KeysAndModifiers) {
    Write("VKEY", "4");
    TForm1& shiftOnly = Start();
    EXPECT_EQ(shiftOnly.HotKey1->HotKeyValue(), 'W');
    EXPECT_TRUE(HotKeyHeld(MOD_SHIFT, 'W'));
    form_->Close();
    EXPECT_FALSE(HotKeyHeld(MOD_SHIFT, 'W'));  // closing gave it back

    Write("VKEY", "3");
    Write("KEY", "112");
    EXPECT_EQ(Start().HotKey1->HotKeyValue(), 0xC000 | 'P');
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, VK_F1));
    form_->Close();

    Write("KEY", "0x41");
    EXPECT_EQ(Start().HotKey1->HotKeyValue(), 0xC000 | 'A');
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'A'));
}

TEST_F(Settings, SaveWritesTheBoxAndSwitches) {
    TForm1& f = Start();
    f.HotKey1->SetHotKeyValue(0x4000 | 0x2000 | 'Q');  // Ctrl+Shift+Q
    f.CheckBox2->SetChecked(false);
    f.Edit1->SetText(L"15");
    f.LoadSaveSettings('w');
    EXPECT_EQ(ReadKey("KEY"), "81");
    EXPECT_EQ(ReadKey("VKEY"), "6");
    EXPECT_EQ(ReadKey("Check1"), "1");
    EXPECT_EQ(ReadKey("Check2"), "0");
    EXPECT_EQ(ReadKey("MINUTE"), "15");
    EXPECT_EQ(ReadKey("Option1"), "<none>");
    EXPECT_EQ(SplitHotKeyState.key, 'Q');
    EXPECT_TRUE(SplitHotKeyState.ctrl && SplitHotKeyState.shift && !SplitHotKeyState.alt);
}

TEST_F(Settings, UnwritableFileShowsTheErrorAndWritesNothing) {
    Write("MINUTE", "20");
    TForm1& f = Start();
    f.HotKey1->SetHotKeyValue(0x4000 | 'Q');
    // Another program holds the file with no sharing: every write is refused.
    win::FileHandle lock(::CreateFileW(SettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    testing::MessageBoxWatcher watcher;
    win::Guard([&] { f.LoadSaveSettings('w'); });
    lock.Reset();
    const auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Unable to write to Tockly.ini.");
    EXPECT_EQ(boxes[0].caption, L"시보랑");
    EXPECT_EQ(ReadKey("KEY"), "<none>");
    EXPECT_EQ(ReadKey("MINUTE"), "20");
}

TEST_F(Settings, UnparsableIntervalStopsTheSaveBeforeMinute) {
    TForm1& f = Start();
    f.Edit1->SetText(L"3O");
    try {
        f.LoadSaveSettings('w');
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "'3O' is not a valid integer value");
    }
    EXPECT_EQ(ReadKey("Check2"), "1");
    EXPECT_EQ(ReadKey("MINUTE"), "<none>");
}

}  // namespace
}  // namespace siborang
