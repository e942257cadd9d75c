#pragma once

// Where a student clicks on a horizontal scroll bar: the centre of one of
// its parts (arrows, page areas, thumb) as the style lays it out now.

#include "toolkit/scrollbar.h"
#include "toolkit/qt/native.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

namespace scroll_test {

inline QPoint BarPoint(const tk::ScrollBar& bar, QStyle::SubControl which)
{
    auto* q = static_cast<QScrollBar*>(tk::AsWidget(bar.NativeWidget()));
    QStyleOptionSlider opt;
    opt.initFrom(q);
    opt.orientation = Qt::Horizontal;
    opt.minimum = q->minimum();
    opt.maximum = q->maximum();
    opt.sliderPosition = q->sliderPosition();
    opt.sliderValue = q->value();
    opt.singleStep = q->singleStep();
    opt.pageStep = q->pageStep();
    opt.subControls = QStyle::SC_All;
    return q->style()->subControlRect(QStyle::CC_ScrollBar, &opt, which, q).center();
}

} // namespace scroll_test
