#pragma once

#include "control.h"

namespace tk {

class Container;

// A push button.
class Button : public Control {
public:
    Button(Container& parent, const std::string& caption);

    void SetCaption(const std::string& caption);
    std::string Caption() const;

    NotifyEvent OnClick;

    // Runs the click as the user's click would (for code paths that press it).
    void Click();
};

} // namespace tk
