// A window's children as a screen reader counts them: its items first, then the system's child
// windows, asked of a stand-in for the system's object that has its windows in a row.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/AccessChildren.h"

namespace siborang {
namespace {

using Dir = NavigateDirection;
constexpr long kNothing = 0, kInvalid = -1, kFailed = -2;
constexpr long kSibling = 500;  // what the stand-in answers for the window's own siblings

// The system's object for a window with `windows` child windows, in its own ids.
struct System {
    long windows = 0;
    bool fails = false;

    struct Answer {
        SystemAnswer kind;
        long id = 0;
    };
    Answer Navigate(Dir direction, long from) const {
        const auto child = [](long id) { return Answer{SystemAnswer::Child, id}; };
        if (fails || from > windows) return {SystemAnswer::Failure};
        if (from == kSelfChild) {
            if (direction == Dir::FirstChild && windows > 0) return child(1);
            if (direction == Dir::LastChild && windows > 0) return child(windows);
            if (direction != Dir::FirstChild && direction != Dir::LastChild) return child(kSibling);
        }
        if (from > 0 && direction == Dir::Next && from < windows) return child(from + 1);
        if (from > 0 && direction == Dir::Previous && from > 1) return child(from - 1);
        return {SystemAnswer::Nothing};
    }
};

// Our answer to a navigation, as win/Accessible's object gives it.
long Navigated(long items, System system, Dir direction, long from) {
    const AccessChildren children(static_cast<std::size_t>(items));
    const NavigateStep step = children.Navigate(direction, from);
    if (step.kind == NavigateStep::Kind::Invalid) return kInvalid;
    if (step.kind == NavigateStep::Kind::Nothing) return kNothing;
    if (step.kind == NavigateStep::Kind::Child) return step.child;
    const System::Answer answer = system.Navigate(step.direction, step.from);
    if (!step.ours) return answer.id;
    if (const long instead = step.Instead(answer.kind)) return instead;
    if (answer.kind == SystemAnswer::Child) return children.FromSystem(answer.id);
    return answer.kind == SystemAnswer::Nothing ? kNothing : kFailed;
}

TEST(AccessChildren, PlacesItemsBeforeTheWindows) {
    struct Row {
        long items, child;
        ChildPlace::Kind kind;
        long index;
    };
    using K = ChildPlace::Kind;
    for (const Row& r : std::vector<Row>{{2, 0, K::Self, 0},
                                         {2, 2, K::Item, 1},
                                         {2, 3, K::Window, 1},
                                         {2, LONG_MAX, K::Window, LONG_MAX - 2},
                                         {2, -1, K::Invalid, 0},
                                         {0, 1, K::Window, 1}}) {
        const AccessChildren children(static_cast<std::size_t>(r.items));
        const ChildPlace place = children.Place(r.child);
        EXPECT_EQ(place.kind, r.kind) << r.items << " items, child " << r.child;
        EXPECT_EQ(place.index, r.index) << r.items << " items, child " << r.child;
        // And back: the id each place is known by.
        if (place.kind == K::Item) {
            EXPECT_EQ(children.OfItem(static_cast<std::size_t>(place.index)), r.child);
        } else if (place.kind == K::Window) {
            EXPECT_EQ(children.FromSystem(place.index), r.child);
        }
    }
    EXPECT_EQ(AccessChildren(2).FromSystem(kSelfChild), kSelfChild);
}

TEST(AccessChildren, NavigatesAcrossTheItemsAndTheWindows) {
    struct Row {
        long items, windows;
        bool fails;
        Dir direction;
        long from, expected;
    };
    for (const Row& r : std::vector<Row>{
             // Two items (1, 2), two windows (3, 4): across the boundary and off both ends.
             {2, 2, false, Dir::FirstChild, 0, 1},
             {2, 2, false, Dir::LastChild, 0, 4},
             {2, 2, false, Dir::Next, 2, 3},
             {2, 2, false, Dir::Next, 4, kNothing},
             {2, 2, false, Dir::Previous, 3, 2},
             {2, 2, false, Dir::Previous, 1, kNothing},
             {2, 2, false, Dir::FirstChild, 1, kNothing},  // an item has no children
             {2, 2, false, Dir::Next, 0, kSibling},        // leaves the window: the system's, as it came
             {2, 2, false, Dir::Previous, 5, kFailed},     // not taken for the first window
             {2, 2, false, Dir::Next, -1, kInvalid},
             // No items; no windows; neither.
             {0, 2, false, Dir::FirstChild, 0, 1},
             {0, 2, false, Dir::Previous, 1, kNothing},
             {2, 0, false, Dir::LastChild, 0, 2},
             {2, 0, false, Dir::Next, 2, kNothing},
             {0, 0, false, Dir::FirstChild, 0, kNothing},
             // A system that cannot answer: the last item is still the last child known.
             {2, 2, true, Dir::LastChild, 0, 2},
             {0, 2, true, Dir::LastChild, 0, kFailed},
             {2, 2, true, Dir::Next, 2, kFailed},
         }) {
        EXPECT_EQ(Navigated(r.items, {r.windows, r.fails}, r.direction, r.from), r.expected)
            << r.items << " items, " << r.windows << " windows" << (r.fails ? " (failing)" : "") << ", direction "
            << static_cast<long>(r.direction) << " from " << r.from;
    }
}

// The ids an enumeration hands out from `position`, the windows enumerated by the system.
std::vector<long> Enumerated(long items, unsigned long windows, unsigned long& position, unsigned long wanted) {
    const AccessChildren children(static_cast<std::size_t>(items));
    const EnumerateStep step = children.Enumerate(position, wanted);
    EXPECT_EQ(step.items + step.windows, wanted);
    std::vector<long> ids;
    for (unsigned long i = 0; i < step.items; ++i) ids.push_back(children.OfItem(position++));
    for (unsigned long w = step.skipWindows; w < windows && w < step.skipWindows + step.windows; ++w, ++position) {
        ids.push_back(children.FromSystem(static_cast<long>(w + 1)));
    }
    return ids;
}

TEST(AccessChildren, EnumeratesItemsThenWindowsFromAnyPlace) {
    struct Row {
        long items;
        unsigned long windows, position, wanted;
        std::vector<long> expected;
    };
    for (const Row& r : std::vector<Row>{{2, 2, 0, 4, {1, 2, 3, 4}},
                                         {2, 2, 1, 2, {2, 3}},
                                         {2, 2, 3, 5, {4}},
                                         {2, 2, 4, 1, {}},
                                         {0, 2, 1, 3, {2}},
                                         {2, 0, 1, 3, {2}}}) {
        unsigned long position = r.position;
        EXPECT_EQ(Enumerated(r.items, r.windows, position, r.wanted), r.expected)
            << r.items << " items, " << r.windows << " windows, from " << r.position << ", " << r.wanted << " wanted";
        EXPECT_EQ(position, r.position + r.expected.size());
    }

    struct Skip {
        unsigned long position, count, total, after;
        bool within;
    };
    for (const Skip& s : std::vector<Skip>{{3, 1, 4, 4, true},
                                           {3, 2, 4, 4, false},
                                           {2, ULONG_MAX - 1, 4, 4, false},  // no wrap past the end
                                           {5, 0, 4, 4, false}}) {  // children went since the last step
        unsigned long position = s.position;
        EXPECT_EQ(SkipChildren(position, s.count, s.total), s.within) << s.position << " + " << s.count;
        EXPECT_EQ(position, s.after) << s.position << " + " << s.count;
    }
}

}  // namespace
}  // namespace siborang
