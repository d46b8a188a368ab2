#pragma once
// A layout table row: what every control has (name, parent, place, caption, font, colour, tab
// order, tag, its names for a screen reader), the member of the form it goes into, which gives
// its kind, with the arguments of that kind, and the form's handlers for its events, by name.
// One builder (Form::BuildLayout) reads every table:
//
//   {{.name = "Edit1", .parent = "GroupBox1", .left = 200, .top = 48, .width = 41, .height = 20},
//    win::Into<&TForm1::Edit1>({.textLimit = 2}), {.exit = &TForm1::Edit1Exit}}
#include <functional>
#include <memory>

#include "win/Look.h"

namespace siborang::win {

class Control;

enum class MouseButton { Left, Right, Middle };

// The fields every kind has.
struct ControlRow {
    const char* name = "";
    const char* parent = nullptr;  // nullptr: the form
    int left = 0, top = 0, width = 0, height = 0;  // pixels at 96 dpi
    const wchar_t* caption = L"";
    FontSpec font{};
    Color color = kParentColor;  // background of panels and calendars; others show their parent's
    int tabOrder = -1;           // -1: takes no focus through Tab
    int tag = 0;
    bool disabled = false;
    // What a screen reader calls the control: the text of the label named here (as it reads
    // now), or else this name, for a control with no label of its own; neither keeps the
    // system's name (a button's caption).
    const char* labelledBy = nullptr;
    const wchar_t* accessibleName = nullptr;
};

// Which of form F's handlers a row's events run.
template <class F>
struct Events {
    using Handler = void (F::*)(Control& sender);
    using MouseHandler = void (F::*)(Control& sender, MouseButton button, unsigned shift, int x, int y);
    Handler click = nullptr;
    Handler change = nullptr;
    Handler exit = nullptr;
    MouseHandler mouseDown = nullptr;
    MouseHandler mouseMove = nullptr;
    MouseHandler mouseUp = nullptr;
};

// Makes a row's control on form F and keeps it in the form's member.
template <class F>
using ControlMaker = std::function<std::unique_ptr<Control>(F& form, Control* parent, const ControlRow& row)>;

template <auto Member>
struct MemberOf;
template <class F, class T, T* F::*Member>
struct MemberOf<Member> {
    using Form = F;
    using Kind = T;
};

// `win::Into<&TForm1::Edit1>({.textLimit = 2})`: the control is of Edit1's kind, made with those
// arguments of that kind, and goes into Edit1. A kind without arguments of its own takes none.
template <auto Member, class F = typename MemberOf<Member>::Form, class T = typename MemberOf<Member>::Kind>
ControlMaker<F> Into(typename T::Args args = {}) {
    return [args](F& form, Control* parent, const ControlRow& row) -> std::unique_ptr<Control> {
        auto made = std::make_unique<T>(form, parent, row, args);
        form.*Member = made.get();
        return made;
    };
}

template <class F>
struct Row {
    ControlRow control;
    ControlMaker<F> make;
    Events<F> on{};
};

}  // namespace siborang::win
