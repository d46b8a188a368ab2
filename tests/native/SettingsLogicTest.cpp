#include "clock/SettingsLogic.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "core/Errors.h"

namespace siborang {
namespace {

// An INI section in memory; it can be told to refuse writes from the n-th one on.
class FakeStore : public SettingsStore {
public:
    std::map<std::string, std::string> keys;
    std::vector<std::string> written;  // keys in write order
    int failFromWrite = -1;

    std::string ReadString(const char* key) override {
        auto it = keys.find(key);
        return it == keys.end() ? std::string() : it->second;
    }
    void WriteString(const char* key, const std::string& value) override {
        if (failFromWrite >= 0 && static_cast<int>(written.size()) >= failFromWrite) {
            throw AppError("Unable to write to Tockly.ini");
        }
        keys[key] = value;
        written.push_back(key);
    }
};

// The window's controls, as designed.
class FakeView : public SettingsView {
public:
    bool listenEnabled = false;
    std::uint16_t shortcut = 49239;
    bool check1 = true, check2 = true;
    std::string interval = "30";

    void EnableListenButton() override { listenEnabled = true; }
    std::uint16_t Shortcut() override { return shortcut; }
    void SetShortcut(std::uint16_t value) override { shortcut = value; }
    bool IntervalChecked() override { return check1; }
    void SetIntervalChecked(bool c) override { check1 = c; }
    bool MemoChecked() override { return check2; }
    void SetMemoChecked(bool c) override { check2 = c; }
    std::string IntervalText() override { return interval; }
    void SetIntervalText(const std::string& text) override { interval = text; }
};

struct Loaded {
    FakeStore store;
    FakeView view;
    std::optional<HotKeyKeys> registered;  // what the window is to register
};

Loaded Load(std::map<std::string, std::string> keys) {
    Loaded l;
    l.store.keys = std::move(keys);
    l.view.shortcut = 0;
    l.view.interval = "";
    l.registered = LoadSettings(l.store, l.view);
    return l;
}

TEST(LoadSettings, NoFileGivesTheDefaults) {
    Loaded l = Load({});
    EXPECT_EQ(l.view.shortcut, 0xC057);  // Ctrl+Alt+W
    EXPECT_TRUE(l.view.check1);
    EXPECT_TRUE(l.view.check2);
    EXPECT_EQ(l.view.interval, "30");
    EXPECT_FALSE(l.view.listenEnabled);
    EXPECT_EQ(l.registered, (HotKeyKeys{3, 87}));
}

TEST(LoadSettings, HiddenListenSwitch) {
    EXPECT_TRUE(Load({{"Option1", "1"}}).view.listenEnabled);
    EXPECT_FALSE(Load({{"Option1", "2"}}).view.listenEnabled);
    EXPECT_TRUE(Load({{"Option1", "$1"}}).view.listenEnabled);
}

TEST(LoadSettings, IntervalKeepsTheLowSixteenBitsUnsigned) {
    EXPECT_EQ(Load({{"MINUTE", "-1"}}).view.interval, "65535");
    EXPECT_EQ(Load({{"MINUTE", "65536"}}).view.interval, "0");
    EXPECT_EQ(Load({{"MINUTE", "60"}}).view.interval, "60");
    EXPECT_EQ(Load({{"MINUTE", "sixty"}}).view.interval, "30");
}

// The join at loading and the split at saving are inverses, so a Run that changes nothing
// saves the same two numbers and registers the same hotkey at the next start. The view here
// keeps the value as given; the real box, which marks extended keys, is tried in the Windows
// tests (Settings.AnExtendedKeyTypedIntoTheBoxSurvivesRunAndTheNextStart).
TEST(LoadSettings, StoredHotKeyComesBackThroughTheJoinAndTheSplit) {
    struct Case {
        const char* vkey;
        const char* key;
        std::uint16_t shown;
    };
    for (const Case c : {Case{"3", "112", 0xC000 | 0x70},  // Ctrl+Alt+F1
                         Case{"4", "65", 0x2000 | 'A'},    // Shift+A
                         Case{"3", "37", 0xC000 | 0x25}}) {  // Ctrl+Alt+Left
        Loaded l = Load({{"VKEY", c.vkey}, {"KEY", c.key}});
        EXPECT_EQ(l.view.shortcut, c.shown) << c.vkey << "/" << c.key;
        const std::optional<HotKeyKeys> saved = SaveSettings(l.store, l.view);
        EXPECT_EQ(l.store.keys["VKEY"], c.vkey) << c.key;
        EXPECT_EQ(l.store.keys["KEY"], c.key);
        EXPECT_EQ(saved, l.registered) << "Run registers what the start registered: " << c.key;
    }
}

TEST(LoadSettings, ModifiersAreRegisteredWhateverTheyAre) {
    Loaded none = Load({{"VKEY", "0"}});
    EXPECT_EQ(none.view.shortcut, 'W');
    EXPECT_EQ(none.registered, (HotKeyKeys{0, 87}));
    Loaded big = Load({{"VKEY", "65539"}});  // only the low 16 bits reach registration
    EXPECT_EQ(big.registered, (HotKeyKeys{3, 87}));
    EXPECT_EQ(Load({{"VKEY", "1"}}).view.shortcut, 0x8000 | 'W');
    EXPECT_EQ(Load({{"VKEY", "2"}}).view.shortcut, 0x4000 | 'W');
}

TEST(LoadSettings, Booleans) {
    EXPECT_FALSE(Load({{"Check1", "0"}}).view.check1);
    EXPECT_TRUE(Load({{"Check1", "yes"}}).view.check1);
    EXPECT_TRUE(Load({{"Check1", "5"}}).view.check1);
    EXPECT_FALSE(Load({{"Check2", "0"}}).view.check2);
    EXPECT_TRUE(Load({{"Check2", "-1"}}).view.check2);
}

TEST(SaveSettings, WritesEveryKeyInOrder) {
    FakeStore store;
    FakeView view;
    view.shortcut = 0x4000 | 0x2000 | 'Q';  // Ctrl+Shift+Q
    view.check1 = false;
    view.interval = "45";
    const std::optional<HotKeyKeys> registered = SaveSettings(store, view);
    EXPECT_EQ(store.written, (std::vector<std::string>{"KEY", "VKEY", "Check1", "Check2", "MINUTE"}));
    EXPECT_EQ(store.keys["KEY"], "81");
    EXPECT_EQ(store.keys["VKEY"], "6");
    EXPECT_EQ(store.keys["Check1"], "0");
    EXPECT_EQ(store.keys["Check2"], "1");
    EXPECT_EQ(store.keys["MINUTE"], "45");
    EXPECT_EQ(registered, (HotKeyKeys{6, 'Q'}));
    EXPECT_FALSE(store.keys.count("Option1"));
}

TEST(SaveSettings, EmptyBoxSavesZeroesAndABareKeyRegistersNothing) {
    FakeStore store;
    FakeView view;
    view.shortcut = 0;
    EXPECT_EQ(SaveSettings(store, view), std::nullopt);
    EXPECT_EQ(store.keys["KEY"], "0");
    EXPECT_EQ(store.keys["VKEY"], "0");
    view.shortcut = 'W';
    EXPECT_EQ(SaveSettings(store, view), std::nullopt);
    EXPECT_EQ(store.keys["KEY"], "87");
}

TEST(SaveSettings, FirstFailureStopsTheSave) {
    FakeStore store;
    FakeView view;
    store.failFromWrite = 2;
    EXPECT_THROW(SaveSettings(store, view), AppError);
    EXPECT_EQ(store.written, (std::vector<std::string>{"KEY", "VKEY"}));

    FakeStore parse;
    FakeView bad;
    bad.interval = "3O";
    try {
        SaveSettings(parse, bad);
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "'3O' is not a valid integer value");
    }
    EXPECT_EQ(parse.written, (std::vector<std::string>{"KEY", "VKEY", "Check1", "Check2"}));
}

TEST(Shortcut, SplitAndFlags) {
    const SplitHotKey s = SplitShortcut(0xC057);
    EXPECT_EQ(s.key, 0x57);
    EXPECT_TRUE(s.ctrl && s.alt && !s.shift);
    EXPECT_EQ(ModifierFlags(s), 3u);
    EXPECT_EQ(ModifierFlags(SplitShortcut(0x2000 | 'A')), 4u);
    EXPECT_EQ(ModifierFlags(SplitShortcut(0xE000 | 'A')), 7u);
    EXPECT_EQ(SplitShortcut(0x1FFF).key, 0x1FFF);
}

}  // namespace
}  // namespace siborang
