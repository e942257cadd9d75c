#pragma once

#include <map>
#include <vector>

namespace tk::core {

// The kinds of control that take the keyboard focus, from Tab and from a
// click: push buttons and scroll bars. Speed buttons, labels, group boxes
// and the paint box take none.
enum class ControlKind { PushButton, ScrollBar, SpeedButton, Other };
constexpr bool TakesFocus(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::ScrollBar;
}

// A window's controls as a tree: each node's children in the order they
// were made. Ids are the platform's own handles, only compared.
struct FocusNode {
    const void* id = nullptr;
    bool takesFocus = false;
    std::vector<FocusNode> children;
};

// The order a parent's children were given (SetTabOrder), by parent.
using TabOrders = std::map<const void*, std::vector<const void*>>;

// The window's focus chain: the controls that take the focus, depth first,
// each parent's children in the order given for it, and those left out of
// it after them in the order they were made. A control in a group box comes
// where the box stands.
std::vector<const void*> FocusChain(const FocusNode& root, const TabOrders& orders);

} // namespace tk::core
