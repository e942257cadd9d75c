#pragma once

// What a user sees of two details of the controls, measured on their
// pixels at the screen's pixel ratio: which face a button's caption is set
// in, and how thick the dotted focus frame is.

#include "toolkit/design_scale.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace look_check {

using Ink = std::set<std::pair<int, int>>;

// The pixels of `with` markedly darker than the same pixel of `without`
// (more than about 40 % of the way to black), from the top-left corner of
// their bounding box.
inline Ink DarkerPixels(const QImage& with, const QImage& without)
{
    std::vector<std::pair<int, int>> points;
    int left = with.width(), top = with.height();
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (qGray(without.pixel(x, y)) - qGray(with.pixel(x, y)) > 96) {
                points.emplace_back(x, y);
                left = std::min(left, x);
                top = std::min(top, y);
            }
    Ink ink;
    for (const auto& [x, y] : points)
        ink.emplace(x - left, y - top);
    return ink;
}

// The widget as the screen shows it, device pixel for device pixel.
inline QImage Shown(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The ink of a button's caption as the screen shows it: what changes when
// the caption is taken away.
inline Ink CaptionInk(QAbstractButton* button)
{
    const QString caption = button->text();
    const QImage with = Shown(button);
    button->setText({});
    const QImage without = Shown(button);
    button->setText(caption);
    return DarkerPixels(with, without);
}

// The ink of a text set directly, in black on white, in the face at the
// pixel size, starting `shift` pixels right of a whole pixel; with an
// overstrike, the regular glyphs are struck a second time that many pixels
// to the right, as a face without its own bold is emboldened.
inline Ink FaceInk(const QString& family, int pixels, int overstrike, const QString& text, double shift)
{
    QFont font(family);
    font.setPixelSize(pixels);
    const int width = QFontMetrics(font).horizontalAdvance(text) + 2 * pixels + 20 + overstrike;
    QImage image(width, 3 * pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage blank = image;
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(pixels + shift, 2 * pixels), text);
    if (overstrike > 0)
        painter.drawText(QPointF(pixels + shift + overstrike, 2 * pixels), text);
    painter.end();
    return DarkerPixels(image, blank);
}

// How alike two inks are: the pixels both have over the pixels either has.
inline double Overlap(const Ink& a, const Ink& b)
{
    std::size_t both = 0;
    for (const auto& p : a)
        both += b.count(p);
    const std::size_t either = a.size() + b.size() - both;
    return either == 0 ? 0.0 : static_cast<double>(both) / static_cast<double>(either);
}

// How alike the button's caption is to its text set directly in the face,
// at the device's size of the button's font, a bold caption struck twice one
// design pixel apart: the best overlap over the sixteenths of a pixel the
// text may start at.
inline double LikenessToFace(QAbstractButton* button, const QString& family)
{
    const Ink shown = CaptionInk(button);
    const double ratio = button->devicePixelRatioF();
    const int pixels = static_cast<int>(std::lround(QFontInfo(button->font()).pixelSize() * ratio));
    const int overstrike = button->font().bold() ? std::max(1, static_cast<int>(std::lround(ratio * tk::DesignScale()))) : 0;
    double best = 0;
    for (int sixteenth = 0; sixteenth < 16; ++sixteenth)
        best = std::max(best, Overlap(shown, FaceInk(family, pixels, overstrike, button->text(), sixteenth / 16.0)));
    return best;
}

// Checks every bold caption of the windows: set in the substitute of its own
// face, "ＭＳ 明朝", which has no bold, its ink is that of IPAMincho struck
// twice one design pixel apart, not that of a Gothic face (the font engine's
// own made-up bold of IPAMincho is all but IPAGothic's). Returns the bold
// captions it found, for the caller to check that none went missing.
inline std::set<std::string> ExpectBoldCaptionsInMinchoStruckTwice(const std::vector<QWidget*>& windows)
{
    std::set<std::string> seen;
    for (QWidget* window : windows)
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
            if (!b->font().bold())
                continue;
            seen.insert(b->text().toStdString());
            SCOPED_TRACE(b->text().toStdString());
            const double mincho = LikenessToFace(b, QStringLiteral("IPAMincho"));
            const double gothic = LikenessToFace(b, QStringLiteral("IPAGothic"));
            EXPECT_GE(mincho, 0.97) << "IPAMincho struck twice, against IPAGothic struck twice " << gothic;
            EXPECT_LE(gothic, 0.9);
        }
    return seen;
}

// The dotted frame a focused control shows, in device pixels: the pixels of
// the colour that the focus adds, along the frame's top edge.
struct FocusFrame {
    int thickness = 0;            // rows of the top edge
    std::vector<int> dots, gaps;  // lengths along the top edge, whole ones only
};

inline FocusFrame TopEdgeOfFocusFrame(QWidget* w, QRgb colour)
{
    QWidget* elsewhere = w->window();
    w->setFocus(Qt::TabFocusReason);
    const QImage focused = Shown(w);
    elsewhere->setFocus(Qt::TabFocusReason);
    w->clearFocus();
    const QImage unfocused = Shown(w);
    const auto added = [&](int x, int y) {
        return focused.pixel(x, y) == colour && unfocused.pixel(x, y) != colour;
    };
    // Only the middle half of the width: the left and right edges stay out.
    const int from = focused.width() / 4, to = focused.width() * 3 / 4;
    const auto rowHas = [&](int y) {
        for (int x = from; x < to; ++x)
            if (added(x, y))
                return true;
        return false;
    };
    FocusFrame frame;
    int y = 0;
    while (y < focused.height() && !rowHas(y))
        ++y;
    const int top = y;
    while (y < focused.height() && rowHas(y))
        ++y;
    frame.thickness = y - top;
    if (frame.thickness == 0)
        return frame;
    // Runs along the top row, leaving out the two that the middle half cuts.
    std::vector<std::pair<bool, int>> runs;
    for (int x = from; x < to; ++x) {
        const bool on = added(x, top);
        if (!runs.empty() && runs.back().first == on)
            ++runs.back().second;
        else
            runs.emplace_back(on, 1);
    }
    for (std::size_t i = 1; i + 1 < runs.size(); ++i)
        (runs[i].first ? frame.dots : frame.gaps).push_back(runs[i].second);
    return frame;
}

// Checks the focus frame widget `w` shows: `device` pixels thick, dotted
// with dots as long as they are thick and gaps of twice that.
inline void ExpectDottedFocusFrame(QWidget* w, int device)
{
    SCOPED_TRACE(w->metaObject()->className());
    const FocusFrame frame = TopEdgeOfFocusFrame(w, qRgb(0, 0, 0));
    EXPECT_EQ(frame.thickness, device);
    ASSERT_GE(frame.dots.size(), 3u);
    for (const int dot : frame.dots)
        EXPECT_EQ(dot, device);
    for (const int gap : frame.gaps)
        EXPECT_EQ(gap, 2 * device);
}

} // namespace look_check
