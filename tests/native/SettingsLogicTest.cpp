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

Settings Load(std::map<std::string, std::string> keys) {
    FakeStore store;
    store.keys = std::move(keys);
    return LoadSettings(store);
}

TEST(LoadSettings, NoFileGivesTheDefaults) {
    const Settings s = Load({});
    EXPECT_EQ(JoinShortcut(s.hotKey), 0xC057);  // Ctrl+Alt+W
    EXPECT_TRUE(s.speakAtIntervals);
    EXPECT_TRUE(s.showMemos);
    EXPECT_EQ(s.intervalText, "30");
    EXPECT_FALSE(s.listenOffered);
    EXPECT_EQ(HotKeyAtStart(s), (HotKeyKeys{3, 87}));
}

TEST(LoadSettings, HiddenListenSwitch) {
    EXPECT_TRUE(Load({{"Option1", "1"}}).listenOffered);
    EXPECT_FALSE(Load({{"Option1", "2"}}).listenOffered);
    EXPECT_TRUE(Load({{"Option1", "$1"}}).listenOffered);
}

TEST(LoadSettings, IntervalKeepsTheLowSixteenBitsUnsigned) {
    EXPECT_EQ(Load({{"MINUTE", "-1"}}).intervalText, "65535");
    EXPECT_EQ(Load({{"MINUTE", "65536"}}).intervalText, "0");
    EXPECT_EQ(Load({{"MINUTE", "60"}}).intervalText, "60");
    EXPECT_EQ(Load({{"MINUTE", "sixty"}}).intervalText, "30");
}

// The join into the box's value and the split out of it are inverses, so a Run that changes
// nothing saves the same two numbers and registers the same hotkey at the next start. The value
// here goes through no box; the real box, which marks extended keys, is tried in the Windows
// tests (MainWindowSettings.AnExtendedKeyTypedIntoTheBoxSurvivesRunAndTheNextStart).
TEST(LoadSettings, StoredHotKeyComesBackThroughTheJoinAndTheSplit) {
    struct Case {
        const char* vkey;
        const char* key;
        std::uint16_t shown;
    };
    for (const Case c : {Case{"3", "112", 0xC000 | 0x70},  // Ctrl+Alt+F1
                         Case{"4", "65", 0x2000 | 'A'},    // Shift+A
                         Case{"3", "37", 0xC000 | 0x25}}) {  // Ctrl+Alt+Left
        FakeStore store;
        store.keys = {{"VKEY", c.vkey}, {"KEY", c.key}};
        Settings s = LoadSettings(store);
        const HotKeyKeys atStart = HotKeyAtStart(s);
        EXPECT_EQ(JoinShortcut(s.hotKey), c.shown) << c.vkey << "/" << c.key;
        s.hotKey = KeysOfShortcut(JoinShortcut(s.hotKey));  // into the box and out again
        SaveSettings(store, s);
        EXPECT_EQ(store.keys["VKEY"], c.vkey) << c.key;
        EXPECT_EQ(store.keys["KEY"], c.key);
        EXPECT_EQ(HotKeyOnRun(s), atStart) << "Run registers what the start registered: " << c.key;
    }
}

TEST(LoadSettings, ModifiersAreRegisteredWhateverTheyAre) {
    const Settings none = Load({{"VKEY", "0"}});
    EXPECT_EQ(JoinShortcut(none.hotKey), 'W');
    EXPECT_EQ(HotKeyAtStart(none), (HotKeyKeys{0, 87}));
    const Settings big = Load({{"VKEY", "65539"}});  // only the low 16 bits reach registration
    EXPECT_EQ(HotKeyAtStart(big), (HotKeyKeys{3, 87}));
    EXPECT_EQ(JoinShortcut(Load({{"VKEY", "1"}}).hotKey), 0x8000 | 'W');
    EXPECT_EQ(JoinShortcut(Load({{"VKEY", "2"}}).hotKey), 0x4000 | 'W');
}

TEST(LoadSettings, Booleans) {
    EXPECT_FALSE(Load({{"Check1", "0"}}).speakAtIntervals);
    EXPECT_TRUE(Load({{"Check1", "yes"}}).speakAtIntervals);
    EXPECT_TRUE(Load({{"Check1", "5"}}).speakAtIntervals);
    EXPECT_FALSE(Load({{"Check2", "0"}}).showMemos);
    EXPECT_TRUE(Load({{"Check2", "-1"}}).showMemos);
}

// What Run saves, the next start loads: every saved setting away from its default, the two
// switches apart.
TEST(SaveSettings, WhatIsSavedLoadsBackTheSame) {
    FakeStore store;
    const Settings changed{.hotKey = {6, 'Q'}, .speakAtIntervals = false, .showMemos = true, .intervalText = "45"};
    SaveSettings(store, changed);
    EXPECT_EQ(LoadSettings(store), changed);
    EXPECT_FALSE(store.keys.count("Option1"));  // only ever read
}

TEST(SaveSettings, EmptyBoxSavesZeroesAndABareKeyRegistersNothing) {
    FakeStore store;
    Settings s = Load({});
    s.hotKey = KeysOfShortcut(0);
    SaveSettings(store, s);
    EXPECT_EQ(HotKeyOnRun(s), std::nullopt);
    EXPECT_EQ(store.keys["KEY"], "0");
    EXPECT_EQ(store.keys["VKEY"], "0");
    s.hotKey = KeysOfShortcut('W');
    SaveSettings(store, s);
    EXPECT_EQ(HotKeyOnRun(s), std::nullopt);
    EXPECT_EQ(store.keys["KEY"], "87");
}

TEST(SaveSettings, FirstFailureStopsTheSave) {
    FakeStore store;
    store.failFromWrite = 2;
    EXPECT_THROW(SaveSettings(store, Load({})), AppError);
    EXPECT_EQ(store.written, (std::vector<std::string>{"KEY", "VKEY"}));

    FakeStore parse;
    Settings bad = Load({});
    bad.intervalText = "3O";
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
    EXPECT_EQ(KeysOfShortcut(0x4000 | 0x2000 | 'Q'), (HotKeyKeys{6, 'Q'}));
}

}  // namespace
}  // namespace siborang
