#include "presses.h"

#include <algorithm>
#include <vector>

namespace tk::core {

namespace {
std::vector<PressHolder*>& Holders()
{
    static std::vector<PressHolder*> holders;
    return holders;
}
} // namespace

PressHolder::PressHolder() { Holders().push_back(this); }

PressHolder::~PressHolder() { std::erase(Holders(), this); }

void CancelPresses()
{
    // A holder's cancel runs no handler of the program's, but copy the list
    // all the same: nothing done here may invalidate the walk.
    const std::vector<PressHolder*> holders = Holders();
    for (PressHolder* h : holders)
        if (std::find(Holders().begin(), Holders().end(), h) != Holders().end())
            h->CancelPress();
}

} // namespace tk::core
