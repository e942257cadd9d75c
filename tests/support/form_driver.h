#pragma once

// Drives an activity window as a student does: keys, toggles and buttons
// clicked by name, presses on the plane, notifications of the zoom bar, and
// reads back what the window shows: pixels of the plane, texts in the strip
// above it and the message boxes it raised.

#include "activities/activity_form.h"
#include "toolkit/qt/native.h"
#include "entry/condition_entry.h"
#include "entry/syoten_entry.h"
#include "plane/readout.h"
#include "support/curve_check.h"
#include "support/design_pixels.h"
#include "toolkit/application.h"
#include "toolkit/canvas.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace form_test {

// Replaces the message box while it lives: each box is recorded and closed
// with OK at once. whileOpen runs while the box is still open.
struct MessageLog {
    std::vector<std::string> texts;
    std::function<void()> whileOpen;

    MessageLog()
    {
        tk::Application::Instance().SetMessageHandler([this](const std::string&, const std::string& text) {
            texts.push_back(text);
            if (whileOpen)
                whileOpen();
        });
    }
    ~MessageLog() { tk::Application::Instance().SetMessageHandler({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
};

// A click as the student makes it; a control the student cannot see cannot
// be clicked.
inline void Click(const tk::Control& c, std::string_view name = "a control")
{
    if (!tk::AsWidget(c.NativeWidget())->isVisible()) {
        ADD_FAILURE() << "clicked a hidden control: " << name;
        return;
    }
    QTest::mouseClick(tk::AsWidget(c.NativeWidget()), Qt::LeftButton);
}

using KeyMap = std::map<std::string, const tk::Control*, std::less<>>;

// Short names for the selection toggles of the two-points window, whose
// captions repeat.
inline void NameSyotenToggles(KeyMap& keys, const entry::SyotenEntry& e)
{
    keys["x1"] = e.SbnX1Zahyo.get();
    keys["y1"] = e.SbnY1Zahyo.get();
    keys["x2"] = e.SbnX2Zahyo.get();
    keys["y2"] = e.SbnY2Zahyo.get();
    keys["dist"] = e.SbnKyori.get();
}

// One activity window, shown and opened as the menu opens it. Keys are named
// by their captions ("和＝", "５", "決定", "再試行", "終わる"), the graph button
// "graph"; a test adds short names for the selection toggles, whose captions
// repeat.
template <class Form>
struct FormDriver {
    Form form;
    KeyMap keys;

    FormDriver()
    {
        const auto& k = form.Entry.Keypad;
        for (const auto* key : {k.BtnKindLeft.get(), k.BtnKindRight.get(), k.BtnPlus.get(), k.BtnMinus.get(),
                                k.BtnRoot.get(), k.BtnDot.get(), k.BtnKettei.get(), k.BtnKesu.get()})
            keys[key->Caption()] = key;
        for (int d = 0; d <= 9; ++d)
            keys[k.DigitKey(d).Caption()] = &k.DigitKey(d);
        keys["再試行"] = form.BtnSai.get();
        keys["終わる"] = form.BtnSyuryo.get();
        keys["graph"] = form.BtnByoga.get();
        form.Show();
        form.ClsButtonClick(nullptr);
        QApplication::processEvents();
    }

    // Clicks the blank-separated keys of a sequence, e.g. "x1 － ３ 決定".
    void Type(std::string_view sequence)
    {
        while (!sequence.empty()) {
            const auto end = sequence.find(' ');
            const std::string_view token = sequence.substr(0, end);
            sequence = end == std::string_view::npos ? std::string_view{} : sequence.substr(end + 1);
            if (token.empty())
                continue;
            const auto it = keys.find(token);
            if (it == keys.end())
                throw std::invalid_argument("no key " + std::string(token));
            Click(*it->second, token);
        }
    }

    // The field toggles in field order, "1" down and "0" up, then their
    // caption colours, "R" red and "M" maroon: "10000RMMMM".
    std::string Selection() const
    {
        std::string downs, colours;
        for (int f = 1; f <= entry::kFieldCount; ++f) {
            const tk::SpeedButton& toggle = form.Entry.FieldToggle(f);
            downs += toggle.Down() ? '1' : '0';
            const tk::TColor c = toggle.GetFont().color;
            colours += c == tk::clRed ? 'R' : c == tk::clMaroon ? 'M' : '?';
        }
        return downs + colours;
    }

    // A press of a mouse button on pixel (x, y) of the plane.
    void PressPlane(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        design_test::Click(tk::AsWidget(form.PaintBox1->NativeWidget()), QPoint(x, y), button);
    }
    void PressAt(QPoint p) { PressPlane(p.x(), p.y()); }

    // One notification of the zoom bar, as its arrows, track or keys send it.
    void Scroll(QAbstractSlider::SliderAction action)
    {
        static_cast<QScrollBar*>(tk::AsWidget(form.ScrollBar1->NativeWidget()))->triggerAction(action);
    }

    tk::TColor PlanePixel(int x, int y) { return form.PaintBox1->GetCanvas().Pixel(x, y); }

    // How many pixels of the plane have the colour.
    int CountPlane(tk::TColor colour)
    {
        int n = 0;
        for (int y = 0; y < 660; ++y)
            for (int x = 0; x < 660; ++x)
                n += PlanePixel(x, y) == colour ? 1 : 0;
        return n;
    }

    // Every pixel of the plane, row by row.
    std::vector<tk::TColor> PlaneImage()
    {
        std::vector<tk::TColor> pixels;
        for (int y = 0; y < 660; ++y)
            for (int x = 0; x < 660; ++x)
                pixels.push_back(PlanePixel(x, y));
        return pixels;
    }

    // Whether a pixel of the plane within one of p has the colour, as
    // on a line 2 pixels wide.
    bool Near(QPoint p, tk::TColor colour)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (PlanePixel(p.x() + dx, p.y() + dy) == colour)
                    return true;
        return false;
    }

    // The plane's pixels of the colour (a curve drawn 2 pixels wide) against the
    // true curve {g = 0} at the current zoom, within the tolerance in design
    // pixels and the device pixel's slack.
    curvecheck::Comparison Against(const std::function<double(double, double)>& g,
                                   tk::TColor colour = tk::clRed, double tolerance = 2.5)
    {
        std::vector<curvecheck::Op> ops;
        for (int y = 0; y < 660; ++y)
            for (int x = 0; x < 660; ++x)
                if (PlanePixel(x, y) == colour)
                    ops.push_back({true, x, y});
        return curvecheck::CompareWithCurve(ops, form.Plane.Map(), g,
                                            tolerance + design_test::Slack(form.PaintBox1->GetCanvas().Grid()));
    }

    // Whether the rectangle of the window's canvas shows exactly the text in
    // the colour, as the window's canvas writes it with its font and brush.
    ::testing::AssertionResult Shows(const tk::Rect& rect, tk::TColor colour, const std::string& text)
    {
        tk::Canvas& window = form.GetCanvas();
        // At the window canvas's own device scale, so that the glyphs match.
        const tk::DeviceGrid& grid = window.Grid();
        tk::Image image(grid.EdgeClamped(rect.right), grid.EdgeClamped(rect.bottom));
        int differ = 0;
        {
            tk::Canvas expected;
            expected.Attach(&image, nullptr, grid.Scale());
            expected.SetFont(window.GetFont());
            expected.SetBrushColor(form.Color());
            plane::WriteStrip(expected, rect, colour, text);
            for (int y = rect.top; y < rect.bottom; ++y)
                for (int x = rect.left; x < rect.right; ++x)
                    differ += window.Pixel(x, y) != expected.Pixel(x, y) ? 1 : 0;
        }
        if (differ == 0)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << differ << " pixels differ from \"" << text << "\"";
    }
};

} // namespace form_test
