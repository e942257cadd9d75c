#pragma once

#include <climits>
#include <initializer_list>

namespace entry {

// Entry states are never negative, but the minus key adds one to a state on
// every press without bound, so a product of states can outgrow any integer.
// The repaint's tests on states are therefore answered factor by factor.

// Whether the product of the states is not 0.
constexpr bool AllStarted(std::initializer_list<int> states)
{
    for (const int s : states)
        if (s == 0)
            return false;
    return true;
}

// Whether a x b is above 1.
constexpr bool ProductAboveOne(int a, int b) { return a != 0 && b != 0 && (a > 1 || b > 1); }

// A field counts as complete from this state on; only a digit key puts it there.
constexpr int kCompleteState = 9;

// The state after one more minus press. Minus presses alone never complete a
// field: below complete the count stops one short of it, so that the field
// shows only "－" and counts as incomplete. On a complete field the count
// goes on (the field stays complete with its value) and stops at the
// largest state instead of wrapping round.
constexpr int CountPress(int state)
{
    if (state < kCompleteState)
        return state + 1 < kCompleteState ? state + 1 : kCompleteState - 1;
    return state < INT_MAX ? state + 1 : state;
}

} // namespace entry
