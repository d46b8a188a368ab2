#pragma once
// The memo editor: one memo of PostIt.dat at a time, its due date on a month calendar and in
// number boxes, its three lines, a list of every memo, and buttons to step through, add,
// overwrite and delete. Every change goes to the file at once; the file stays open while
// the editor is shown.
#include <cstdint>

#include "memo/MemoRecord.h"
#include "win/Form.h"

namespace siborang {

class TCalendar;

// The editor unit's state outlives each window: the index of the memo shown (-1 once the
// last memo is deleted), and the record shown or stored last, never cleared, whose untouched
// bytes go to disk as they are.
extern std::int32_t CurrentIndex;
extern MemoRecord EditorRecord;

class TForm2 : public win::Form {
public:
    explicit TForm2(win::Application& app);

    void FormCreate(win::Form& sender);
    void ShowMemo();

    void SpeedButton1Click(win::Control& sender);
    void Panel1MouseDown(win::Control& sender, win::MouseButton button, unsigned shift, int x, int y);
    void Panel1MouseMove(win::Control& sender, win::MouseButton button, unsigned shift, int x, int y);
    void Panel1MouseUp(win::Control& sender, win::MouseButton button, unsigned shift, int x, int y);
    void EYearChange(win::Control& sender);
    void EMonthChange(win::Control& sender);
    void EYearExit(win::Control& sender);
    void Calendar1Change(win::Control& sender);
    void Button1Click(win::Control& sender);
    void Button6Click(win::Control& sender);
    void Button4Click(win::Control& sender);
    void ComboBox1Click(win::Control& sender);

    TCalendar& Calendar() const;

    win::Control* Image2 = nullptr;
    win::Control* Panel1 = nullptr;
    win::Control* SpeedButton1 = nullptr;
    win::Control* Image1 = nullptr;
    win::Control* Label1 = nullptr;
    win::Control* GroupBox1 = nullptr;
    win::Control* Bevel1 = nullptr;
    win::Control* Label2 = nullptr;
    win::Control* Label3 = nullptr;
    win::Control* Label4 = nullptr;
    win::Control* Label5 = nullptr;
    win::Control* Label6 = nullptr;
    win::Control* Label7 = nullptr;
    win::Control* Bevel2 = nullptr;
    win::Control* Label8 = nullptr;
    win::Control* Calendar1 = nullptr;
    win::Control* EHour = nullptr;
    win::Control* EMinute = nullptr;
    win::Control* EYear = nullptr;
    win::Control* EMonth = nullptr;
    win::Control* Button1 = nullptr;
    win::Control* Button2 = nullptr;
    win::Control* Button3 = nullptr;
    win::Control* Button4 = nullptr;
    win::Control* Button5 = nullptr;
    win::Control* GroupBox2 = nullptr;
    win::Control* EMemo1 = nullptr;
    win::Control* EMemo2 = nullptr;
    win::Control* EMemo3 = nullptr;
    win::Control* Button6 = nullptr;
    win::Control* ComboBox1 = nullptr;

protected:
    // The system close command closes the memo file as "X" does.
    void DoClose(win::CloseAction& action) override;

private:
    void SetCountLabel();
    // The boxes and the calendar to a date, the group box caption naming it.
    void ShowDate(int year, int month, int day);
    void ShowTime(int hour, int minute);
};

}  // namespace siborang
