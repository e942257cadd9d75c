#pragma once

// The two fixed points window driven by its keys, with short names for its
// selection toggles, whose captions repeat: "x1", "y1", "x2", "y2", "dist".

#include "activities/syoten_form.h"
#include "support/form_driver.h"

namespace form_test {

struct SyotenDriver : FormDriver<activities::TSyoten_Form> {
    SyotenDriver() { NameSyotenToggles(keys, form.Entry); }
};

} // namespace form_test
