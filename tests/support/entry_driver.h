#pragma once

// Drives a window's condition entry as a student does: by clicking the keys
// and toggles that a sequence names, on a form of its own.

#include "entry/condition_entry.h"
#include "toolkit/driver.h"
#include "toolkit/form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace entry_test {

// A click as the student makes it; a control the student cannot see cannot
// be clicked.
inline void Press(const tk::Control& c)
{
    if (!tk::drive::Press(c))
        ADD_FAILURE() << "clicked a hidden control";
}

// The float's bits and back (by memcpy: em++'s libc++ has no std::bit_cast).
inline std::uint32_t Bits(float f)
{
    static_assert(sizeof(float) == sizeof(std::uint32_t));
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}
inline float FromBits(std::uint32_t bits)
{
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

template <class Entry>
struct EntryWindow {
    using Toggle = std::unique_ptr<tk::SpeedButton> Entry::*;

    tk::Form form;
    Entry entry{form};
    std::map<std::string, const tk::Control*> keys;  // keypad captions and the toggles' short names
    int invalidations = 0;

    explicit EntryWindow(std::initializer_list<std::pair<const char*, Toggle>> toggles)
    {
        const entry::Keypad& k = entry.Keypad;
        for (const auto* key : {k.BtnKindLeft.get(), k.BtnKindRight.get(), k.BtnPlus.get(), k.BtnMinus.get(),
                                k.BtnRoot.get(), k.BtnDot.get(), k.BtnKettei.get(), k.BtnKesu.get()})
            keys[key->Caption()] = key;
        for (int d = 0; d <= 9; ++d)
            keys[k.DigitKey(d).Caption()] = &k.DigitKey(d);
        for (const auto& [name, toggle] : toggles)
            keys[name] = (entry.*toggle).get();
        entry.OnInvalidateCurve = [this] { ++invalidations; };
        form.SetWidth(1024);
        form.SetHeight(768);
        form.Show();
        entry.Syokika();
    }

    // Presses the blank-separated keys of a sequence, e.g. "fx － ３".
    void Type(std::string_view sequence)
    {
        while (!sequence.empty()) {
            const auto end = sequence.find(' ');
            const std::string token(sequence.substr(0, end));
            sequence = end == std::string_view::npos ? std::string_view{} : sequence.substr(end + 1);
            if (token.empty())
                continue;
            const auto it = keys.find(token);
            if (it == keys.end())
                throw std::invalid_argument("no key " + token);
            Press(*it->second);
        }
    }

    // The field toggles in field order, "1" down and "0" up, then their
    // caption colours, "R" red and "M" maroon: "10000RMMMM".
    std::string Selection() const
    {
        std::string downs, colours;
        for (int f = 1; f <= entry::kFieldCount; ++f) {
            downs += entry.FieldToggle(f).Down() ? '1' : '0';
            const tk::TColor c = entry.FieldToggle(f).GetFont().color;
            colours += c == tk::clRed ? 'R' : c == tk::clMaroon ? 'M' : '?';
        }
        return downs + colours;
    }
};

// What a key sequence leaves in one field.
struct FieldCase {
    const char* name;
    const char* keys;  // pressed after the reset, which selects field 1
    int field;
    const char* label;
    int state;
    float value;  // compared bit for bit; integers as floats
    bool signPending;
    bool rootPending;
};

inline std::string CaseName(const ::testing::TestParamInfo<FieldCase>& info) { return info.param.name; }
inline void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.keys; }

// Types the case's keys on a fresh window and checks what its field holds.
template <class Window>
void CheckFieldCase(const FieldCase& c)
{
    Window w;
    w.Type(c.keys);
    EXPECT_EQ(w.entry.FieldLabel(c.field).Caption(), c.label);
    EXPECT_EQ(w.entry.FieldState(c.field), c.state);
    EXPECT_EQ(Bits(w.Value(c.field)), Bits(c.value)) << w.Value(c.field);
    EXPECT_EQ(!w.entry.PendingSign.empty(), c.signPending);
    EXPECT_EQ(!w.entry.PendingRoot.empty(), c.rootPending);
}

// Each selection toggle, clicked up, selects its field (red caption, the
// others maroon, the curve dropped); clicked again it is raised and greyed,
// and its field stays the keypad's target.
template <class Window>
void CheckToggleFamily()
{
    for (int field = 1; field <= entry::kFieldCount; ++field) {
        SCOPED_TRACE(field);
        Window w;
        w.entry.RaiseAllToggles();
        Press(w.entry.FieldToggle(field));
        std::string expected = "00000MMMMM";
        expected.at(static_cast<std::size_t>(field - 1)) = '1';
        expected.at(static_cast<std::size_t>(field + 4)) = 'R';
        EXPECT_EQ(w.Selection(), expected);
        EXPECT_EQ(w.entry.InputTarget, field);
        Press(w.entry.FieldToggle(field));
        EXPECT_EQ(w.Selection(), "00000MMMMM");
        EXPECT_EQ(w.entry.InputTarget, field);
        EXPECT_EQ(w.invalidations, 1);
    }
}

} // namespace entry_test
