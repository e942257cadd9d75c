#pragma once

// What a user sees of details of the controls, measured on their pixels
// at the screen's pixel ratio: how thick the dotted focus frame is.

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace look_check {

// The widget as the screen shows it, device pixel for device pixel.
inline QImage Shown(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

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

} // namespace look_check
