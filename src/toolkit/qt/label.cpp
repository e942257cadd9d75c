#include "toolkit/label.h"
#include "native.h"

#include "qtbridge.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPointer>

#include <cmath>
#include <utility>
#include <vector>

namespace tk {

namespace {

// Between a frame's outer glyph and the control it stands by.
constexpr int kFrameGap = 2;

// The whole-pixel shift along one axis that brings the ink [lo, hi] inside
// [from, to], or centres it there when it is wider.
qreal FitShift(qreal lo, qreal hi, qreal from, qreal to)
{
    if (hi - lo > to - from)
        return std::round((from + to - lo - hi) / 2);
    if (lo < from)
        return std::ceil(from - lo);
    if (hi > to)
        return -std::ceil(hi - to);
    return 0;
}

QStringList Words(const QString& text)
{
    QStringList words;
    QString word;
    for (QChar c : text) {
        if (c == u' ' || c == QChar(0x3000)) {
            if (!word.isEmpty())
                words.push_back(std::exchange(word, {}));
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words.push_back(word);
    return words;
}

} // namespace

// The native label: draws its text itself so that no glyph is cut, and
// knows the bounds it was placed at, which its surface may exceed.
class LabelWidget : public QLabel {
public:
    LabelWidget(const QString& text, QWidget* parent) : QLabel(text, parent), placed_(geometry())
    {
        setTextFormat(Qt::PlainText);
        setMargin(0);
        setIndent(0);
        setWordWrap(false);
    }

    void Place(const QRect& bounds)
    {
        placed_ = bounds;
        Relayout();
    }
    void SetFrame(std::vector<QPointer<QWidget>> controls)
    {
        frame_ = std::move(controls);
        Relayout();
    }

    // Gives a transparent label whose ink is larger than its bounds the
    // surface that holds it, centred on the bounds; every other label keeps
    // its bounds as its surface. The ink is measured, in the font the
    // label shows, once its window is about to be shown.
    void Relayout()
    {
        QRect surface = placed_;
        if (measured_ && !autoFillBackground() && frame_.empty() && !text().isEmpty()) {
            const QRectF ink = QFontMetricsF(font()).tightBoundingRect(text());
            // Half a pixel more on each side, for where the centred ink
            // falls between pixels.
            const auto overhang = [](qreal extent, int room) {
                return extent > room ? static_cast<int>(std::ceil((extent - room) / 2 + 0.5)) : 0;
            };
            const int dx = overhang(ink.width(), placed_.width());
            const int dy = overhang(ink.height(), placed_.height());
            surface.adjust(-dx, -dy, dx, dy);
        }
        if (geometry() != surface)
            setGeometry(surface);
        update();
    }

protected:
    bool event(QEvent* event) override
    {
        const bool handled = QLabel::event(event);
        if (!measured_ && (event->type() == WindowShowingEvent() || event->type() == QEvent::Show)) {
            measured_ = true;
            Relayout();
        }
        return handled;
    }
    void paintEvent(QPaintEvent*) override
    {
        const QString caption = text();
        if (caption.isEmpty())
            return;
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        const QRectF area(QPointF(placed_.topLeft() - geometry().topLeft()), QSizeF(placed_.size()));
        const int flags = static_cast<int>(alignment()) | Qt::TextSingleLine | Qt::TextDontClip;
        const QFontMetricsF fm(font());
        // Where drawText(area, flags, caption) would put the line and its ink.
        const QRectF line = fm.boundingRect(area, flags, caption);
        const qreal baseline = line.top() + fm.ascent();
        const QRectF ink = fm.tightBoundingRect(caption).translated(line.left(), baseline);
        const qreal dy = FitShift(ink.top(), ink.bottom(), area.top(), area.bottom());
        if (DrawFrame(painter, fm, baseline + dy))
            return;
        const qreal dx = FitShift(ink.left(), ink.right(), area.left(), area.right());
        painter.drawText(area.translated(dx, dy), flags, caption);
    }

private:
    // Draws the words of the caption around the frame's controls on the
    // given baseline; false when the caption does not have one word more
    // than there are controls.
    bool DrawFrame(QPainter& painter, const QFontMetricsF& fm, qreal baseline) const
    {
        if (frame_.empty())
            return false;
        std::vector<QRectF> controls;  // in this widget's coordinates
        for (const QPointer<QWidget>& c : frame_) {
            if (!c)
                return false;
            const QPoint at = c->mapTo(window(), QPoint()) - mapTo(window(), QPoint());
            controls.emplace_back(QPointF(at), QSizeF(c->size()));
        }
        const QStringList words = Words(text());
        if (static_cast<std::size_t>(words.size()) != controls.size() + 1)
            return false;
        for (std::size_t i = 0; i < static_cast<std::size_t>(words.size()); ++i) {
            const QString& word = words.at(static_cast<qsizetype>(i));
            const QRectF ink = fm.tightBoundingRect(word);  // from the origin on the baseline
            qreal origin = 0;
            if (i == 0)
                origin = controls.front().left() - kFrameGap - ink.right();
            else if (i == controls.size())
                origin = controls.back().right() + kFrameGap - ink.left();
            else
                origin = (controls.at(i - 1).right() + controls.at(i).left()) / 2 - ink.center().x();
            painter.drawText(QPointF(std::round(origin), baseline), word);
        }
        return true;
    }

    QRect placed_;
    std::vector<QPointer<QWidget>> frame_;
    bool measured_ = false;
};

Label::Label(Container& parent, const std::string& caption)
    : Control(AsView(new LabelWidget(ToQString(caption), AsWidget(parent.ClientWidget())))), caption_(caption)
{
    text_ = static_cast<LabelWidget*>(AsWidget(NativeWidget()));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void Label::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    text_->setText(ToQString(caption));
    text_->Relayout();
}

void Label::SetAlignment(Alignment alignment)
{
    const Qt::Alignment h = alignment == Alignment::Left     ? Qt::AlignLeft
                            : alignment == Alignment::Center ? Qt::AlignHCenter
                                                             : Qt::AlignRight;
    text_->setAlignment(h | Qt::AlignVCenter);
}

void Label::SetColor(TColor color)
{
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    text_->setPalette(palette);
    text_->setAutoFillBackground(true);
    text_->Relayout();
}

void Label::FrameAround(std::initializer_list<const Control*> controls)
{
    std::vector<QPointer<QWidget>> widgets;
    for (const Control* c : controls)
        widgets.emplace_back(AsWidget(c->NativeWidget()));
    text_->SetFrame(std::move(widgets));
}

// The bounds as placed on the screen, which the control has just given its
// widget.
void Label::BoundsChanged() { text_->Place(text_->geometry()); }
void Label::FontChanged() { text_->Relayout(); }

StaticText::StaticText(Container& parent, const std::string& caption)
    : Control(AsView(new LabelWidget(ToQString(caption), AsWidget(parent.ClientWidget()))))
{
    text_ = static_cast<LabelWidget*>(AsWidget(NativeWidget()));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

std::string StaticText::Caption() const { return FromQString(text_->text()); }

void StaticText::BoundsChanged() { text_->Place(text_->geometry()); }
void StaticText::FontChanged() { text_->Relayout(); }

} // namespace tk
