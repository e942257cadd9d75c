#include "text_painter.h"

#include "device_image.h"
#include "qtbridge.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace tk {

// The Qt font of the last text, made again only when the face, height or
// weight changes.
struct QtTextPainter::Made {
    QFont font;
    Font from;
    bool set = false;
};

QtTextPainter::QtTextPainter() : made_(std::make_unique<Made>()) {}
QtTextPainter::~QtTextPainter() = default;

void QtTextPainter::DrawText(Image& image, const Font& font, const Rect& clip, int x, int y, const std::string& text)
{
    Made& m = *made_;
    if (!m.set || m.from.name != font.name || m.from.height != font.height || m.from.bold != font.bold) {
        m.font = ToQFont(font);
        m.font.setStyleStrategy(QFont::NoAntialias);
        m.from = font;
        m.set = true;
    }
    QImage target = Wrapped(image);
    if (target.isNull())
        return;
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    const QRect area(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    p.setClipRect(area);
    p.setFont(m.font);
    p.setPen(ToQColor(font.color));
    p.drawText(QRect(x, y, std::max(1, area.right() + 1 - x) + 4096, std::max(1, area.bottom() + 1 - y) + 4096),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(text));
}

} // namespace tk
