#pragma once

#include "toolkit/button.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"
#include "toolkit/speedbutton.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>

namespace entry {

// How a label presents itself: a plain caption on the panel, or a value box
// (the keyed text on the tooltip background, left-aligned or centred).
enum class Look { Plain, ValueLeft, ValueCentred };

// One control of a panel as the designer placed it. The slot is the member
// of Owner that receives the control; rows are created in order, so a later
// row paints over an earlier one.
template <class Owner>
struct PanelRow {
    std::variant<std::unique_ptr<tk::Label> Owner::*, std::unique_ptr<tk::SpeedButton> Owner::*,
                 std::unique_ptr<tk::Button> Owner::*, std::unique_ptr<tk::StaticText> Owner::*>
        slot;
    std::string caption;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::optional<tk::Font> font;  // none: the panel's own font
    int group = 0;                 // speed buttons: the exclusive group, 0 for none
    Look look = Look::Plain;
};

namespace detail {

template <class Owner>
tk::Control& Make(std::unique_ptr<tk::Label>& slot, tk::GroupBox& box, const PanelRow<Owner>& row)
{
    slot = std::make_unique<tk::Label>(box, row.caption);
    if (row.look != Look::Plain) {
        slot->SetColor(tk::clInfoBk);
        slot->SetAlignment(row.look == Look::ValueLeft ? tk::Alignment::Left : tk::Alignment::Center);
    }
    return *slot;
}

template <class Owner>
tk::Control& Make(std::unique_ptr<tk::SpeedButton>& slot, tk::GroupBox& box, const PanelRow<Owner>& row)
{
    slot = std::make_unique<tk::SpeedButton>(box, row.caption, row.group);
    return *slot;
}

template <class Owner>
tk::Control& Make(std::unique_ptr<tk::Button>& slot, tk::GroupBox& box, const PanelRow<Owner>& row)
{
    slot = std::make_unique<tk::Button>(box, row.caption);
    return *slot;
}

template <class Owner>
tk::Control& Make(std::unique_ptr<tk::StaticText>& slot, tk::GroupBox& box, const PanelRow<Owner>& row)
{
    slot = std::make_unique<tk::StaticText>(box, row.caption);
    return *slot;
}

} // namespace detail

// Creates the rows' controls in the group box, in order, into their slots of
// owner. Controls without a font of their own get the box's, so that their
// font reads back as what they show.
template <class Owner>
void BuildPanel(Owner& owner, tk::GroupBox& box, std::span<const PanelRow<Owner>> rows)
{
    for (const PanelRow<Owner>& row : rows) {
        tk::Control& control =
            std::visit([&](auto slot) -> tk::Control& { return detail::Make(owner.*slot, box, row); }, row.slot);
        control.SetBounds(row.left, row.top, row.width, row.height);
        control.SetFont(row.font.value_or(box.GetFont()));
    }
}

} // namespace entry
