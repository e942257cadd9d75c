#pragma once

// The two fixed points window driven by its keys, with short names for its
// selection toggles, whose captions repeat: "x1", "y1", "x2", "y2", "dist".

#include "activities/syoten_form.h"
#include "support/form_driver.h"

namespace form_test {

struct SyotenDriver : FormDriver<activities::TSyoten_Form> {
    SyotenDriver()
    {
        const entry::SyotenEntry& e = form.Entry;
        keys["x1"] = e.SbnX1Zahyo.get();
        keys["y1"] = e.SbnY1Zahyo.get();
        keys["x2"] = e.SbnX2Zahyo.get();
        keys["y2"] = e.SbnY2Zahyo.get();
        keys["dist"] = e.SbnKyori.get();
    }
};

} // namespace form_test
