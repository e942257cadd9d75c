#include "toolkit/groupbox.h"
#include "native.h"

#include "qtbridge.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QPainter>
#include <QPalette>

namespace tk {

namespace {

// The caption's distance from the box's left edge.
constexpr int kCaptionLeft = 8;
// The two lines of the etched frame.
constexpr TColor kShadow = clGray;
constexpr TColor kHighlight = clWhite;

int FrameTopFor(const QFont& font) { return QFontMetrics(font).height() / 2 - 1; }

// The native box: paints itself instead of leaving it to the style, which
// draws the frame below the caption and tints the inside.
class GroupBoxWidget : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor face = palette().color(QPalette::Window);
        painter.fillRect(rect(), face);

        // A shadow frame with a highlight frame one pixel to the right and
        // below it: an etched groove. Filled, not stroked, so that each line
        // covers whole pixels at any pixel ratio.
        const int top = FrameTopFor(font());
        const QColor shadow = ToQColor(kShadow), highlight = ToQColor(kHighlight);
        const auto frame = [&painter](const QRect& r, const QColor& colour) {
            painter.fillRect(r.left(), r.top(), r.width(), 1, colour);
            painter.fillRect(r.left(), r.bottom(), r.width(), 1, colour);
            painter.fillRect(r.left(), r.top(), 1, r.height(), colour);
            painter.fillRect(r.right(), r.top(), 1, r.height(), colour);
        };
        const QRect groove(0, top, width() - 1, height() - top - 1);
        frame(groove.translated(1, 1), highlight);
        frame(groove, shadow);

        const QString caption = title();
        if (caption.isEmpty())
            return;
        const QFontMetrics fm(font());
        const QRect band(kCaptionLeft, 0, fm.horizontalAdvance(caption), fm.height());
        painter.fillRect(band, face);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(band, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    }
};

} // namespace

GroupBox::GroupBox(Container& parent, const std::string& caption)
    : Control(AsView(new GroupBoxWidget(ToQString(caption), AsWidget(parent.ClientWidget()))))
{
}

std::string GroupBox::Caption() const
{
    return FromQString(static_cast<QGroupBox*>(AsWidget(NativeWidget()))->title());
}

void GroupBox::SetColor(TColor color)
{
    QWidget* w = AsWidget(NativeWidget());
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

int GroupBox::FrameTop() const { return FrameTopFor(AsWidget(NativeWidget())->font()); }

} // namespace tk
