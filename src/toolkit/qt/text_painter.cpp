#include "text_painter.h"

#include "device_image.h"
#include "qtbridge.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace tk {

struct QtTextPainter::Open {
    // The image drawn on, its pixels wrapped, and the painter on them.
    const Image* image = nullptr;
    const std::uint32_t* bits = nullptr;
    QImage wrapped;
    QPainter painter;
    // The Qt font of the last text, made again only when the face, height
    // or weight changes.
    QFont font;
    Font from;
    bool fontSet = false;
};

QtTextPainter::QtTextPainter() : open_(std::make_unique<Open>()) {}
QtTextPainter::~QtTextPainter()
{
    if (open_->painter.isActive())
        open_->painter.end();
}

void QtTextPainter::Finish(const Image& image)
{
    Open& o = *open_;
    if (o.image != &image)
        return;
    if (o.painter.isActive())
        o.painter.end();
    o.image = nullptr;
    o.bits = nullptr;
    o.wrapped = QImage();
}

void QtTextPainter::DrawText(Image& image, const Font& font, const Rect& clip, int x, int y, const std::string& text)
{
    Open& o = *open_;
    if (o.image != &image || o.bits != image.Bits() || !o.painter.isActive()) {
        if (o.image)
            Finish(*o.image);
        o.wrapped = Wrapped(image);
        if (o.wrapped.isNull())
            return;
        o.painter.begin(&o.wrapped);
        o.painter.setRenderHint(QPainter::Antialiasing, false);
        o.painter.setRenderHint(QPainter::TextAntialiasing, false);
        o.image = &image;
        o.bits = image.Bits();
        o.fontSet = false;
    }
    if (!o.fontSet || o.from.name != font.name || o.from.height != font.height || o.from.bold != font.bold) {
        o.font = ToQFont(font);
        o.font.setStyleStrategy(QFont::NoAntialias);
        o.from = font;
        o.fontSet = true;
        o.painter.setFont(o.font);
    }
    const QRect area(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    o.painter.setClipRect(area);
    o.painter.setPen(ToQColor(font.color));
    o.painter.drawText(QRect(x, y, std::max(1, area.right() + 1 - x) + 4096, std::max(1, area.bottom() + 1 - y) + 4096),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(text));
}

} // namespace tk
