#pragma once
// The memo editor: one memo of PostIt.dat at a time, its due date on a month calendar and in
// number boxes, its three lines, a list of every memo, and buttons to step through, add,
// overwrite and delete. Every change goes to the file at once; the file stays open while
// the editor is shown.
#include <cstdint>

#include "core/Dates.h"
#include "memo/MemoRecord.h"
#include "win/Form.h"
#include "win/Bevel.h"
#include "win/Button.h"
#include "win/ComboBox.h"
#include "win/Edit.h"
#include "win/GroupBox.h"
#include "win/Image.h"
#include "win/Label.h"
#include "win/Panel.h"
#include "win/SpeedButton.h"
#include "win/TitleChrome.h"

namespace siborang {

class TCalendar;
class CalendarControl;

// The editor unit's state outlives each window: the index of the memo shown (-1 once the
// last memo is deleted), and the record shown or stored last, never cleared, whose untouched
// bytes go to disk as they are.
extern std::int32_t CurrentIndex;
extern MemoRecord EditorRecord;

// Dragged by its title panel (Panel1MouseDown, Panel1MouseMove, Panel1MouseUp).
class TForm2 : public win::Form, public win::TitleDragged {
public:
    explicit TForm2(win::Application& app);

    void FormCreate(win::Form& sender);
    void ShowMemo();

    void SpeedButton1Click(win::Control& sender);
    void EYearChange(win::Control& sender);
    void EMonthChange(win::Control& sender);
    void EYearExit(win::Control& sender);
    void Calendar1Change(win::Control& sender);
    void Button1Click(win::Control& sender);
    void Button6Click(win::Control& sender);
    void Button4Click(win::Control& sender);
    void ComboBox1Click(win::Control& sender);

    TCalendar& Calendar() const;

    win::Image* Image2 = nullptr;
    win::Panel* Panel1 = nullptr;
    win::SpeedButton* SpeedButton1 = nullptr;
    win::Image* Image1 = nullptr;
    win::Label* Label1 = nullptr;
    win::GroupBox* GroupBox1 = nullptr;
    win::Bevel* Bevel1 = nullptr;
    win::Label* Label2 = nullptr;
    win::Label* Label3 = nullptr;
    win::Label* Label4 = nullptr;
    win::Label* Label5 = nullptr;
    win::Label* Label6 = nullptr;
    win::Label* Label7 = nullptr;
    win::Bevel* Bevel2 = nullptr;
    win::Label* Label8 = nullptr;
    CalendarControl* Calendar1 = nullptr;
    win::Edit* EHour = nullptr;
    win::Edit* EMinute = nullptr;
    win::Edit* EYear = nullptr;
    win::Edit* EMonth = nullptr;
    win::Button* Button1 = nullptr;
    win::Button* Button2 = nullptr;
    win::Button* Button3 = nullptr;
    win::Button* Button4 = nullptr;
    win::Button* Button5 = nullptr;
    win::GroupBox* GroupBox2 = nullptr;
    win::Edit* EMemo1 = nullptr;
    win::Edit* EMemo2 = nullptr;
    win::Edit* EMemo3 = nullptr;
    win::Button* Button6 = nullptr;
    win::ComboBox* ComboBox1 = nullptr;

protected:
    // The system close command closes the memo file as "X" does.
    void DoClose(win::CloseAction& action) override;

private:
    void SetCountLabel();
    // 앞 내용 and 뒤 내용 as far as there is a memo before and after the one shown.
    void EnableSteps();
    // The count and the memo now shown, heard after a step, an add, an overwrite or a delete
    // while the focus stays on the button.
    void AlertShownMemo();
    // A year or month typed into `box` moved the calendar from `before`: heard as the new date,
    // since the calendar has not the focus.
    void AlertTypedDate(const win::Control& box, DateDays before);
    // The boxes and the calendar to a date, the group box caption naming it.
    void ShowDate(int year, int month, int day);
    void ShowTime(int hour, int minute);

};

}  // namespace siborang
