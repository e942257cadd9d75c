#include "focus_chain.h"

#include <algorithm>

namespace tk::core {

namespace {
void Visit(const FocusNode& parent, const TabOrders& orders, std::vector<const void*>& chain)
{
    std::vector<const FocusNode*> children;
    if (const auto it = orders.find(parent.id); it != orders.end())
        for (const void* id : it->second)
            for (const FocusNode& child : parent.children)
                if (child.id == id && std::find(children.begin(), children.end(), &child) == children.end())
                    children.push_back(&child);
    for (const FocusNode& child : parent.children)
        if (std::find(children.begin(), children.end(), &child) == children.end())
            children.push_back(&child);
    for (const FocusNode* child : children) {
        if (child->takesFocus)
            chain.push_back(child->id);
        Visit(*child, orders, chain);
    }
}
} // namespace

std::vector<const void*> FocusChain(const FocusNode& root, const TabOrders& orders)
{
    std::vector<const void*> chain;
    Visit(root, orders, chain);
    return chain;
}

} // namespace tk::core
