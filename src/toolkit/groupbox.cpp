#include "groupbox.h"

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

        // The shadow line drawn over the highlight one pixel to the right
        // and below it: an etched groove.
        const int top = FrameTopFor(font());
        const int w = width() - 2;
        const int h = height() - top - 2;
        painter.setPen(ToQColor(kHighlight));
        painter.drawRect(1, top + 1, w, h);
        painter.setPen(ToQColor(kShadow));
        painter.drawRect(0, top, w, h);

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
    : Control(new GroupBoxWidget(ToQString(caption), parent.ClientWidget()))
{
}

std::string GroupBox::Caption() const
{
    return FromQString(static_cast<QGroupBox*>(NativeWidget())->title());
}

void GroupBox::SetColor(TColor color)
{
    QWidget* w = NativeWidget();
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

int GroupBox::FrameTop() const { return FrameTopFor(NativeWidget()->font()); }

} // namespace tk
