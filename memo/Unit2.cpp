#include "memo/Unit2.h"

#include <array>
#include <string>

#include "controls/Calendar.h"
#include "core/IntParse.h"
#include "memo/EditorLogic.h"
#include "memo/MemoFile.h"
#include "resources/layouts/MemoEditor.h"
#include "speech/Speech.h"
#include "win/Application.h"
#include "win/ErrorBoundary.h"
#include "win/Text.h"
#include "win/TitleChrome.h"

namespace siborang {

std::int32_t CurrentIndex = 0;
MemoRecord EditorRecord{};

namespace {


// The calendar's last year. The year box takes four characters, so a later year comes only
// from a damaged memo file; the calendar then stays where it is, as it does for years before
// its first, and the memo is shown all the same instead of ending in an error box.
constexpr int kLastCalendarYear = 9999;

std::wstring Number(int value) { return std::to_wstring(value); }

std::string TextOf(const win::Control* box) { return win::Narrow(box->Text()); }

}  // namespace

TForm2::TForm2(win::Application& app)
    : win::Form(app, kForm2Spec), win::TitleDragged(static_cast<win::Form&>(*this)) {
    BuildLayout<TForm2>(*this, kForm2Layout);
    // An error here (an unwritable PostIt.dat, say) is shown and the window opens all the same.
    win::Guard([this] { FormCreate(*this); });
}

TCalendar& TForm2::Calendar() const { return Calendar1->Calendar(); }

void TForm2::FormCreate(win::Form&) {
    win::RemoveCaption(*this);
    std::uint16_t y, m, d;
    GetToday(y, m, d);
    GroupBox1->SetText(L" " + Number(y) + L" 年 " + Number(m) + L" 月 " + Number(d) + L" 日 ");
    EMonth->SetText(Number(m));
    EYear->SetText(Number(y));
    std::uint16_t h, mi, s;
    GetNowTime(h, mi, s);
    ShowTime(h, mi);
    CurrentIndex = 0;
    OpenMemoFile();
    if (MemoCount() == 0) {
        Button2->SetEnabled(false);
    } else {
        ComboBox1->ClearItems();
        const std::int32_t n = MemoCount();
        MemoRecord memo{};
        for (std::int32_t i = 0; i < n; ++i) {
            ReadMemo(i, memo);
            ComboBox1->AddItem(win::Widen(MemoEntryText(memo)));
        }
        ComboBox1->SetItemIndex(0);
        Button4->SetEnabled(true);
        ShowMemo();
        if (MemoCount() == 1) Button2->SetEnabled(false);
    }
    SetCountLabel();
}

void TForm2::SetCountLabel() { Label7->SetText(L"메모 겟수 " + Number(MemoCount()) + L"개"); }

void TForm2::ShowDate(int year, int month, int day) {
    // By way of the 1st, which every month has: going straight from 31 December to
    // 15 November would pass through 31 November, which the calendar refuses.
    TCalendar& calendar = Calendar();
    calendar.SetDay(1);
    EYear->SetText(Number(year));  // their change handlers move the calendar
    EMonth->SetText(Number(month));
    if (year <= kLastCalendarYear) calendar.SetYear(year);
    calendar.SetMonth(month);
    calendar.SetDay(day);
    // Named even when the calendar had nothing left to change.
    Calendar1Change(*Calendar1);
}

void TForm2::ShowTime(int hour, int minute) {
    EHour->SetText(Number(hour));
    EMinute->SetText(Number(minute));
}

void TForm2::ShowMemo() {
    ReadMemo(CurrentIndex, EditorRecord);  // a failed read shows what the record held
    ShowDate(EditorRecord.Year, EditorRecord.Month, EditorRecord.Day);
    ShowTime(EditorRecord.Hour, EditorRecord.Minute);
    Label8->SetText(EditorRecord.Confirmed == 1 ? L"옛날 메모(확인함)" : L"");
    const std::array<win::Control*, kMemoLineCount> lines{EMemo1, EMemo2, EMemo3};
    for (std::size_t i = 0; i < kMemoLineCount; ++i) lines[i]->SetText(win::FromCp949(EditorRecord.Lines[i].View()));
}

void TForm2::SpeedButton1Click(win::Control&) {
    if (MemoFileIsOpen()) CloseMemoFile();
    Close();
}

void TForm2::DoClose(win::CloseAction&) {
    // Runs inside the modal loop, outside any handler: a refused close is shown here and the
    // window closes all the same.
    win::Guard([] {
        if (MemoFileIsOpen()) CloseMemoFile();
    });
}

void TForm2::EYearChange(win::Control&) {
    const DateDays before = Calendar().DateValue();
    const int year = ParseIntegerOr(TextOf(EYear), EYear->Tag());
    if (year <= kLastCalendarYear) Calendar().SetYear(year);
    AlertTypedDate(*EYear, before);
}

void TForm2::EMonthChange(win::Control&) {
    const DateDays before = Calendar().DateValue();
    Calendar().SetMonth(ParseIntegerOr(TextOf(EMonth), EMonth->Tag()));
    AlertTypedDate(*EMonth, before);
}

void TForm2::AlertTypedDate(const win::Control& box, DateDays before) {
    // Typed, not put in by ShowMemo: the box has the focus.
    if (box.Handle() != ::GetFocus() || Calendar().DateValue() == before) return;
    Alert(Calendar().Access().SpokenDate());
}

void TForm2::AlertShownMemo() {
    std::wstring text = Label7->Text();
    const auto add = [&text](const std::wstring& part) {
        if (!part.empty()) text += L", " + part;
    };
    if (CurrentIndex >= 0 && CurrentIndex < ComboBox1->ItemCount()) add(ComboBox1->Item(CurrentIndex));
    add(Label8->Text());
    for (const win::Control* line : {EMemo1, EMemo2, EMemo3}) add(line->Text());
    Alert(std::move(text));
}

void TForm2::EYearExit(win::Control& sender) {
    const std::string text = TextOf(&sender);
    const std::string corrected = NumberBoxAfterExit(text, sender.Tag());
    if (corrected != text) sender.SetText(win::Widen(corrected));
}

void TForm2::Calendar1Change(win::Control&) {
    GroupBox1->SetText(L" " + EYear->Text() + L" 年 " + EMonth->Text() + L" 月 " + Number(Calendar().Day()) + L" 日 ");
}

void TForm2::Button1Click(win::Control& sender) {
    if (sender.Tag() == -1) {
        --CurrentIndex;
    } else {
        ++CurrentIndex;
    }
    EnableSteps();
    // The entry at the index, not one step from the selection: typing into the list's text
    // part clears its selection.
    ComboBox1->SetItemIndex(CurrentIndex);
    ShowMemo();
    AlertShownMemo();
}

void TForm2::EnableSteps() {
    Button1->SetEnabled(CurrentIndex > 0);
    Button2->SetEnabled(CurrentIndex < MemoCount() - 1);
}

void TForm2::ComboBox1Click(win::Control&) {
    CurrentIndex = ComboBox1->ItemIndex();
    ShowMemo();
    EnableSteps();
    AlertShownMemo();
}

void TForm2::Button6Click(win::Control& sender) {
    // With no memo shown (the last one deleted) there is nothing to overwrite: the memo is
    // added, so that the list and the file stay in step.
    const bool add = sender.Tag() == 1 || CurrentIndex < 0;
    // Everything is read and checked before anything changes, so a refusal stores nothing.
    MemoRecord memo = EditorRecord;
    memo.Year = StoredNumber(TextOf(EYear));
    memo.Month = StoredNumber(TextOf(EMonth));
    memo.Day = static_cast<std::int16_t>(Calendar().Day());
    memo.Hour = StoredNumber(TextOf(EHour));
    memo.Minute = StoredNumber(TextOf(EMinute));
    memo.Confirmed = 0;
    CheckDueDate(memo.Year, memo.Month, memo.Day);
    Label8->SetText(L"");
    const std::array<win::Control*, kMemoLineCount> lines{EMemo1, EMemo2, EMemo3};
    for (std::size_t i = 0; i < kMemoLineCount; ++i) memo.Lines[i].Assign(win::ToCp949(lines[i]->Text()));
    EditorRecord = memo;

    const std::wstring entry = win::Widen(MemoEntryText(EditorRecord));
    if (add) {
        ComboBox1->AddItem(entry);
        AppendMemo(EditorRecord);
        CurrentIndex = MemoCount() - 1;
        SetCountLabel();
    } else {
        ComboBox1->SetItem(CurrentIndex, entry);
        WriteMemo(CurrentIndex, EditorRecord);
        // Overwriting on a file that was empty stores its first record.
        SetCountLabel();
    }
    ComboBox1->SetItemIndex(CurrentIndex);
    CloseMemoFile();
    OpenMemoFile();
    EnableSteps();
    Button4->SetEnabled(true);
    AlertShownMemo();
}

void TForm2::Button4Click(win::Control&) {
    ComboBox1->DeleteItem(CurrentIndex);
    DeleteMemo(CurrentIndex);
    SetCountLabel();
    if (CurrentIndex > MemoCount() - 1) CurrentIndex = MemoCount() - 1;
    EnableSteps();
    ComboBox1->SetItemIndex(CurrentIndex);
    ShowMemo();
    if (MemoCount() == 0) {
        std::uint16_t y, m, d, h, mi, s;
        GetToday(y, m, d);
        GetNowTime(h, mi, s);
        ShowDate(y, m, d);
        ShowTime(h, mi);
        Button4->SetEnabled(false);
        Label8->SetText(L"");
        EMemo1->SetText(L"");
        EMemo2->SetText(L"");
        EMemo3->SetText(L"");
    }
    AlertShownMemo();
}

}  // namespace siborang
