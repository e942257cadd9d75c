#include "toggle_group.h"

#include <algorithm>
#include <vector>

namespace tk::core {

namespace {
// Every toggle alive, in order of creation.
std::vector<Toggle*>& Toggles()
{
    static std::vector<Toggle*> toggles;
    return toggles;
}
} // namespace

Toggle::Toggle(const void* container, int groupIndex, std::function<void(bool down)> show)
    : container_(container), group_(groupIndex), show_(std::move(show))
{
    Toggles().push_back(this);
}

Toggle::~Toggle() { std::erase(Toggles(), this); }

void Toggle::Show(bool down)
{
    if (down_ == down)
        return;
    down_ = down;
    if (show_)
        show_(down);
}

void Toggle::SetDown(bool down)
{
    if (group_ == 0)
        return;
    if (down) {
        for (Toggle* other : Toggles())
            if (other != this && other->container_ == container_ && other->group_ == group_)
                other->Show(false);
    }
    Show(down);
}

void Toggle::Click() { SetDown(!down_); }

} // namespace tk::core
