#pragma once
// How a window's object numbers its children for a screen reader. Its own items (the windowless
// parts it draws: labels, flat buttons, calendar cells) are children 1..N, in their order; the
// system's children (the child windows, which the system's own object numbers from 1) follow
// from N + 1; 0 is the window itself, for both. Portable: the arithmetic alone, which the
// window layer's objects (win/Accessible.h) follow in every question they pass on to the
// system's object.
#include <cstddef>

namespace siborang {

inline constexpr long kSelfChild = 0;

// Where a child id points.
struct ChildPlace {
    enum class Kind { Invalid, Self, Item, Window };
    Kind kind = Kind::Invalid;
    long index = 0;  // Item: its place in the items, from 0; Window: the system's id for it
};

// The directions of a navigation, as readers number them (NAVDIR_*). Any other number is passed
// on as it came.
enum class NavigateDirection : long { Up = 1, Down, Left, Right, Next, Previous, FirstChild, LastChild };

// What the system's object answered to a question a navigation passed on: a child (or another
// object), nothing there (S_FALSE), or no proper answer (an error, or success with nothing).
enum class SystemAnswer { Child, Nothing, Failure };

// How to answer a navigation.
struct NavigateStep {
    enum class Kind {
        Invalid,  // no such child to start from
        Nothing,  // nothing in that direction
        Child,    // `child`, one of ours
        System,   // the system's answer to its own question
    };
    Kind kind = Kind::Invalid;
    long child = 0;
    // System: the question, in the system's ids. The answer names our children (its ids then
    // move past the items: AccessChildren::FromSystem) unless the navigation starts from the
    // window itself and leaves it (Next, Up, ...), when it names the window's siblings.
    NavigateDirection direction{};
    long from = 0;
    bool ours = false;
    // An item that answers instead when the system has no child there (0: none). From the
    // window, the last item is the last child whenever the system cannot name a window after it;
    // from a window, only a plain "nothing before it" makes it the first window.
    long instead = 0;
    bool insteadOfFailure = false;

    // The child to answer instead of what the system answered; 0: the system's answer stands.
    long Instead(SystemAnswer answer) const noexcept;
};

// An enumeration's next batch: our items first, then the system's children.
struct EnumerateStep {
    unsigned long items = 0;  // how many of ours, from child id position + 1
    // When more are wanted than we have left: the rest from the system's enumeration, taken up
    // after its first `skipWindows`.
    unsigned long windows = 0;
    unsigned long skipWindows = 0;
};

class AccessChildren {
public:
    explicit AccessChildren(std::size_t items) noexcept : items_(static_cast<long>(items)) {}

    ChildPlace Place(long child) const noexcept;
    // The child id of the item at `index` (from 0).
    long OfItem(std::size_t index) const noexcept { return static_cast<long>(index) + 1; }
    // A child id the system's object gave: moved past the items; the window itself stays 0.
    long FromSystem(long id) const noexcept { return id > kSelfChild ? id + items_ : id; }
    // All children, given the system's count of its own (0 when it could not say).
    long Count(long windows) const noexcept { return items_ + (windows > 0 ? windows : 0); }

    NavigateStep Navigate(NavigateDirection direction, long from) const noexcept;
    // `wanted` children from an enumeration's place `position` (how many it has handed out).
    EnumerateStep Enumerate(unsigned long position, unsigned long wanted) const noexcept;

private:
    long items_;
};

// Moves an enumeration's place `count` children on, of `total`; false when fewer were left, and
// it stops at the end.
bool SkipChildren(unsigned long& position, unsigned long count, unsigned long total) noexcept;

}  // namespace siborang
