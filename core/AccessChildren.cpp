#include "core/AccessChildren.h"

namespace siborang {

long NavigateStep::Instead(SystemAnswer answer) const noexcept {
    if (answer == SystemAnswer::Nothing || (answer == SystemAnswer::Failure && insteadOfFailure)) return instead;
    return 0;
}

ChildPlace AccessChildren::Place(long child) const noexcept {
    if (child < kSelfChild) return {};
    if (child == kSelfChild) return {ChildPlace::Kind::Self, 0};
    if (child <= items_) return {ChildPlace::Kind::Item, child - 1};
    return {ChildPlace::Kind::Window, child - items_};
}

NavigateStep AccessChildren::Navigate(NavigateDirection direction, long from) const noexcept {
    using Kind = NavigateStep::Kind;
    const auto ofSystem = [](NavigateDirection asked, long id, bool ours) {
        NavigateStep step{.kind = Kind::System, .direction = asked, .from = id, .ours = ours};
        return step;
    };
    const auto child = [](long id) { return NavigateStep{.kind = Kind::Child, .child = id}; };
    // After the last item: the first window, if any.
    const auto firstWindow = [&] { return ofSystem(NavigateDirection::FirstChild, kSelfChild, true); };

    if (from < kSelfChild) return {};
    if (from == kSelfChild) {
        switch (direction) {
        case NavigateDirection::FirstChild:
            return items_ > 0 ? child(1) : firstWindow();
        case NavigateDirection::LastChild: {
            NavigateStep step = ofSystem(direction, kSelfChild, true);
            step.instead = items_;
            step.insteadOfFailure = true;
            return step;
        }
        default:
            return ofSystem(direction, kSelfChild, false);
        }
    }
    if (from <= items_) {
        if (direction == NavigateDirection::Next) return from < items_ ? child(from + 1) : firstWindow();
        if (direction == NavigateDirection::Previous && from > 1) return child(from - 1);
        return {.kind = Kind::Nothing};
    }
    NavigateStep step = ofSystem(direction, from - items_, true);
    if (direction == NavigateDirection::Previous) step.instead = items_;
    return step;
}

EnumerateStep AccessChildren::Enumerate(unsigned long position, unsigned long wanted) const noexcept {
    const auto items = static_cast<unsigned long>(items_);
    EnumerateStep step;
    if (position < items) step.items = items - position < wanted ? items - position : wanted;
    step.windows = wanted - step.items;
    if (step.windows > 0) step.skipWindows = position + step.items - items;
    return step;
}

bool SkipChildren(unsigned long& position, unsigned long count, unsigned long total) noexcept {
    const bool within = count <= total && position <= total - count;
    position = within ? position + count : total;
    return within;
}

}  // namespace siborang
