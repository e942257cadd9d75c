#include "scroll_rules.h"

#include <algorithm>
#include <array>

namespace tk::core {

std::span<const ScrollMenuItem> ScrollMenu()
{
    static constexpr std::array<ScrollMenuItem, 10> items{{
        {"ここへスクロール", ScrollCode::Position},
        {nullptr, ScrollCode::EndScroll},
        {"左端", ScrollCode::Top},
        {"右端", ScrollCode::Bottom},
        {nullptr, ScrollCode::EndScroll},
        {"1 ページ左へ", ScrollCode::PageUp},
        {"1 ページ右へ", ScrollCode::PageDown},
        {nullptr, ScrollCode::EndScroll},
        {"左へスクロール", ScrollCode::LineUp},
        {"右へスクロール", ScrollCode::LineDown},
    }};
    return items;
}

int ScrollBarRules::Clamp(long long position) const
{
    return static_cast<int>(std::clamp<long long>(position, min_, max_));
}

void ScrollBarRules::SetRange(int minimum, int maximum)
{
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    position_ = Clamp(position_);
    port_.ShowState();
}

void ScrollBarRules::SetPosition(int position)
{
    position_ = Clamp(position);
    port_.ShowState();
}

void ScrollBarRules::SetSteps(int lineStep, int pageStep)
{
    line_ = std::max(0, lineStep);
    page_ = std::max(0, pageStep);
    port_.ShowState();
}

void ScrollBarRules::SetPageSize(int pageSize)
{
    if (pageSize > 0) {
        page_ = pageSize;
        port_.ShowState();
    }
}

void ScrollBarRules::Scroll(ScrollCode code, int target)
{
    long long next = position_;
    switch (code) {
    case ScrollCode::LineUp: next -= line_; break;
    case ScrollCode::LineDown: next += line_; break;
    case ScrollCode::PageUp: next -= page_; break;
    case ScrollCode::PageDown: next += page_; break;
    case ScrollCode::Top: next = min_; break;
    case ScrollCode::Bottom: next = max_; break;
    case ScrollCode::Track:
    case ScrollCode::Position: next = target; break;
    case ScrollCode::EndScroll: break;
    }
    int position = Clamp(next);
    if (onScroll)
        onScroll(code, position);
    position_ = Clamp(position);
    port_.ShowState();
}

ScrollCode ScrollBarRules::CodeOf(ScrollPart part)
{
    switch (part) {
    case ScrollPart::LineLeft: return ScrollCode::LineUp;
    case ScrollPart::LineRight: return ScrollCode::LineDown;
    case ScrollPart::PageLeft: return ScrollCode::PageUp;
    case ScrollPart::PageRight: return ScrollCode::PageDown;
    default: return ScrollCode::EndScroll;
    }
}

void ScrollBarRules::PointerPressed(ScrollPart part)
{
    if (part == ScrollPart::None || held_ != ScrollPart::None)
        return;
    held_ = part;
    const unsigned press = ++press_;
    port_.ShowState();
    if (part == ScrollPart::Thumb)
        return;
    Scroll(CodeOf(part));
    if (press_ == press)
        port_.StartTimer(kScrollRepeatDelayMs);
}

void ScrollBarRules::TimerFired()
{
    if (held_ == ScrollPart::None || held_ == ScrollPart::Thumb)
        return;
    const unsigned press = press_;
    // The arrow repeats while the pointer stays on it; the trough until the
    // thumb reaches the pointer.
    if (port_.PartUnderPointer() == held_)
        Scroll(CodeOf(held_));
    if (press_ == press)
        port_.StartTimer(kScrollRepeatIntervalMs);
}

void ScrollBarRules::PointerDragged(int position)
{
    if (held_ != ScrollPart::Thumb)
        return;
    const int to = Clamp(position);
    if (to != position_)
        Scroll(ScrollCode::Track, to);
}

void ScrollBarRules::PointerReleased()
{
    const ScrollPart part = held_;
    if (part == ScrollPart::None)
        return;
    port_.StopTimer();
    const unsigned press = ++press_;
    if (part == ScrollPart::Thumb) {
        // The thumb let go where it is, still shown held.
        Scroll(ScrollCode::Position, position_);
        if (press_ != press)
            return;
    }
    held_ = ScrollPart::None;
    Scroll(ScrollCode::EndScroll);
}

bool ScrollBarRules::KeyPressed(ScrollKey key, bool modified)
{
    ScrollCode code;
    switch (key) {
    case ScrollKey::Right:
    case ScrollKey::Down: code = ScrollCode::LineDown; break;
    case ScrollKey::Left:
    case ScrollKey::Up: code = ScrollCode::LineUp; break;
    case ScrollKey::PageDown: code = ScrollCode::PageDown; break;
    case ScrollKey::PageUp: code = ScrollCode::PageUp; break;
    case ScrollKey::Home: code = ScrollCode::Top; break;
    case ScrollKey::End: code = ScrollCode::Bottom; break;
    default: return false;
    }
    if (modified)
        return false;
    keys_.insert(key);
    Scroll(code);
    return true;
}

bool ScrollBarRules::KeyReleased(ScrollKey key, bool autoRepeat)
{
    if (autoRepeat || keys_.erase(key) == 0)
        return false;
    Scroll(ScrollCode::EndScroll);
    return true;
}

void ScrollBarRules::MenuChosen(std::size_t item, int here)
{
    const auto menu = ScrollMenu();
    if (item >= menu.size() || !menu[item].text)
        return;
    Scroll(menu[item].code, here);
}

void ScrollBarRules::CancelPress()
{
    keys_.clear();
    if (held_ == ScrollPart::None)
        return;
    held_ = ScrollPart::None;
    ++press_;
    port_.StopTimer();
    port_.ShowState();
}

} // namespace tk::core
