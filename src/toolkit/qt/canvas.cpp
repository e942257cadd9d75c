#include "toolkit/canvas.h"
#include "native.h"

#include "toolkit/core/clip.h"
#include "toolkit/design_scale.h"
#include "toolkit/core/disc_shape.h"
#include "line_stamps.h"
#include "qtbridge.h"
#include "toolkit/core/raster.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

namespace {

unsigned PixelValue(TColor c)
{
    return 0xFF000000u | static_cast<unsigned>(RedOf(c)) << 16 | static_cast<unsigned>(GreenOf(c)) << 8 |
           static_cast<unsigned>(BlueOf(c));
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

} // namespace

bool Raster::Take(QImage& image)
{
    pixels = nullptr;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        break;
    default:
        return false;
    }
    pixels = reinterpret_cast<unsigned*>(image.bits());
    stride = image.bytesPerLine() / 4;
    width = image.width();
    height = image.height();
    return true;
}

struct Canvas::Painter {
    QPainter painter;
    TColor penColor = 0;
    int penWidth = 0;  // device pixels
    bool penSet = false;
    // The Qt font of the last text, made again only when the face, height
    // or weight changes.
    QFont font;
    Font fontMade;
    bool fontSet = false;
    Raster raster;
};

Canvas::Canvas() : painter_(std::make_unique<Painter>()) {}
Canvas::~Canvas() { Flush(); }

void Canvas::Attach(QImage* image, QWidget* viewer, double scale)
{
    Flush();
    image_ = image;
    viewer_ = viewer;
    grid_ = DeviceGrid(scale);
    width_ = image ? grid_.DesignExtent(image->width()) : 0;
    height_ = image ? grid_.DesignExtent(image->height()) : 0;
    painter_->fontSet = false;
}

void Canvas::Flush()
{
    if (painter_ && painter_->painter.isActive())
        painter_->painter.end();
    // The viewer has been asked for everything drawn so far.
    dirty_ = {};
    requested_ = {};
}

Canvas::Painter& Canvas::Begin()
{
    Painter& p = *painter_;
    if (!p.painter.isActive()) {
        p.painter.begin(image_);
        p.painter.setRenderHint(QPainter::Antialiasing, false);
        p.painter.setRenderHint(QPainter::TextAntialiasing, false);
        p.penSet = false;
        p.raster.Take(*image_);
    }
    return p;
}

void Canvas::SetQtPen(Painter& p, int deviceWidth)
{
    if (!p.penSet || p.penColor != penColor_ || p.penWidth != deviceWidth) {
        p.painter.setPen(QPen(ToQColor(penColor_), deviceWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.penColor = penColor_;
        p.penWidth = deviceWidth;
        p.penSet = true;
    }
}

void Canvas::Changed(const Rect& area)
{
    // The batch of drawing ends when the viewer paints; it asks for a repaint
    // of the drawn area only, and again only when that area grows, so that a
    // text above the plane does not repaint the whole window.
    if (!viewer_)
        return;
    const Rect a{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width_),
                 std::min(area.bottom, height_)};
    if (a.left >= a.right || a.top >= a.bottom)
        return;
    if (dirty_.left >= dirty_.right)
        dirty_ = a;
    else
        dirty_ = {std::min(dirty_.left, a.left), std::min(dirty_.top, a.top), std::max(dirty_.right, a.right),
                  std::max(dirty_.bottom, a.bottom)};
    if (requested_.left < requested_.right && dirty_.left >= requested_.left && dirty_.top >= requested_.top &&
        dirty_.right <= requested_.right && dirty_.bottom <= requested_.bottom)
        return;
    requested_ = dirty_;
    // The viewer's logical pixels are the design's times the design scale.
    const double f = DesignScale();
    if (f == 1.0)
        viewer_->update(dirty_.left, dirty_.top, dirty_.Width(), dirty_.Height());
    else
        viewer_->update(QRectF(dirty_.left * f, dirty_.top * f, dirty_.Width() * f, dirty_.Height() * f)
                            .toAlignedRect()
                            .adjusted(-1, -1, 1, 1));
}

const Raster* Canvas::Direct() const
{
    const Painter& p = *painter_;
    return p.painter.isActive() && p.raster.pixels ? &p.raster : nullptr;
}

void Canvas::SetFontSize(int points) { font_.height = PointsToPixels(points); }

int Canvas::DeviceWidth() const { return image_ ? image_->width() : 0; }
int Canvas::DeviceHeight() const { return image_ ? image_->height() : 0; }

TColor Canvas::DevicePixel(int x, int y) const
{
    if (!image_)
        return clBlack;
    const_cast<Canvas*>(this)->Flush();
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height())
        return clBlack;
    return FromQRgb(image_->pixel(x, y));
}

TColor Canvas::Pixel(int x, int y) const
{
    return DevicePixel(DeviceGrid::Clamp(grid_.CentrePixel(x)), DeviceGrid::Clamp(grid_.CentrePixel(y)));
}

void Canvas::LineTo(int x, int y)
{
    const Point from = penPos_;
    penPos_ = {x, y};
    if (!image_)
        return;
    if (from == penPos_)
        Disc(from);
    else
        Segment(from, penPos_);
}

void Canvas::Polyline(std::span<const Point> points)
{
    if (points.empty())
        return;
    MoveTo(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].x, points[i].y);
}

void Canvas::Segment(Point a, Point b)
{
    // The line is laid on device pixels: both ends where the grid puts a pen
    // of this width, and the pen a whole number of device pixels wide.
    const int pen = grid_.PenWidth(penWidth_);
    const double ax = grid_.PenCoordinate(a.x, penWidth_), ay = grid_.PenCoordinate(a.y, penWidth_);
    const double bx = grid_.PenCoordinate(b.x, penWidth_), by = grid_.PenCoordinate(b.y, penWidth_);
    // Qt's rasterisers work in fixed point and must never see huge
    // coordinates, so the segment is cut to the surface and the pen's reach.
    double x0 = ax, y0 = ay, x1 = bx, y1 = by;
    const double w = pen;
    const int width = DeviceWidth();
    const int height = DeviceHeight();
    const auto within = [&](double x, double y, double margin) {
        return x >= -margin && y >= -margin && x <= width + margin && y <= height + margin;
    };
    const bool unclipped = within(ax, ay, w) && within(bx, by, w);
    if (!unclipped) {
        if (!ClipSegment(x0, y0, x1, y1, -w, width + w, height + w))
            return;  // nothing of it can show
        // Clipping moves an endpoint to a fraction of a pixel, which can move
        // a pixel of the line: only segments reaching far beyond the surface,
        // where that cannot show, are drawn clipped.
        const double far = 4096 * grid_.Scale();
        if (within(ax, ay, far) && within(bx, by, far)) {
            x0 = ax, y0 = ay, x1 = bx, y1 = by;
        }
    }
    Painter& p = Begin();
    const Raster* direct = Direct();
    const int reach = penWidth_ / 2 + 2;
    const double r0 = reach, r1 = reach + 1;
    Changed({DeviceGrid::Clamp(std::min(a.x, b.x) - r0), DeviceGrid::Clamp(std::min(a.y, b.y) - r0),
             DeviceGrid::Clamp(std::max(a.x, b.x) + r1), DeviceGrid::Clamp(std::max(a.y, b.y) + r1)});
    if (direct) {
        const Raster& r = *direct;
        const unsigned colour = PixelValue(penColor_);
        // A 1-pixel line along a row or a column right across the surface,
        // as the grid draws them, covers exactly that band of device rows
        // or columns.
        if (penWidth_ == 1 && ay == by && std::min(ax, bx) < 0 && std::max(ax, bx) >= width) {
            const int top = static_cast<int>(ay) - pen / 2;
            r.Block(0, width - 1, top, top + pen - 1, colour);
            return;
        }
        if (penWidth_ == 1 && ax == bx && std::min(ay, by) < 0 && std::max(ay, by) >= height) {
            const int left = static_cast<int>(ax) - pen / 2;
            r.Block(left, left + pen - 1, 0, height - 1, colour);
            return;
        }
        // A short line that needed no clipping, as a curve's steps are.
        LineStamps::Stamp s;
        if (unclipped) {
            const int sx = static_cast<int>(ax), sy = static_cast<int>(ay);
            if (Stamps().Find(pen, static_cast<int>(bx) - sx, static_cast<int>(by) - sy, s)) {
                for (int row = 0; row < s.count; ++row)
                    r.Span(sy + s.top + row, sx + s.rows[row].first, sx + s.rows[row].last, colour);
                return;
            }
        }
    }
    SetQtPen(p, pen);
    p.painter.drawLine(QLineF(x0, y0, x1, y1));
}

void Canvas::Disc(Point centre)
{
    const int w = grid_.PenWidth(penWidth_);
    const double cx = grid_.PenCoordinate(centre.x, penWidth_), cy = grid_.PenCoordinate(centre.y, penWidth_);
    if (cx < -w || cy < -w || cx > DeviceWidth() + w || cy > DeviceHeight() + w)
        return;
    Painter& p = Begin();
    Changed({centre.x - penWidth_, centre.y - penWidth_, centre.x + penWidth_ + 1, centre.y + penWidth_ + 1});
    const int x = static_cast<int>(cx), y = static_cast<int>(cy);
    const DiscShape& d = DiscOfWidth(w);
    if (const Raster* r = Direct()) {
        const unsigned colour = PixelValue(penColor_);
        for (const DiscShape::Row& row : d.rows)
            r->Span(y + row.dy, x + row.first, x + row.last, colour);
        return;
    }
    const QColor colour = ToQColor(penColor_);
    for (const DiscShape::Row& row : d.rows)
        p.painter.fillRect(QRect(x + row.first, y + row.dy, row.last - row.first + 1, 1), colour);
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!image_)
        return;
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    Painter& p = Begin();
    Changed({left, top, right, bottom});
    const QRect r = ToQRect(grid_.ToDevice({left, top, right, bottom}));
    if (brushStyle_ == BrushStyle::Solid)
        p.painter.fillRect(r, ToQColor(brushColor_));
    const int w = std::min({grid_.PenWidth(penWidth_), r.width(), r.height()});
    const QColor pen = ToQColor(penColor_);
    p.painter.fillRect(QRect(r.left(), r.top(), r.width(), w), pen);
    p.painter.fillRect(QRect(r.left(), r.top() + r.height() - w, r.width(), w), pen);
    p.painter.fillRect(QRect(r.left(), r.top(), w, r.height()), pen);
    p.painter.fillRect(QRect(r.left() + r.width() - w, r.top(), w, r.height()), pen);
}

void Canvas::FillRect(const Rect& rect)
{
    if (!image_)
        return;
    Begin().painter.fillRect(ToQRect(grid_.ToDevice(rect)), ToQColor(brushColor_));
    Changed(rect);
}

void Canvas::TextRect(const Rect& rect, int x, int y, const std::string& text)
{
    if (!image_)
        return;
    QPainter& p = Begin().painter;
    Changed(rect);
    const QRect clip = ToQRect(grid_.ToDevice(rect));
    if (brushStyle_ == BrushStyle::Solid)
        p.fillRect(clip, ToQColor(brushColor_));
    if (text.empty())
        return;
    Painter& state = *painter_;
    if (!state.fontSet || state.fontMade.name != font_.name || state.fontMade.height != font_.height ||
        state.fontMade.bold != font_.bold) {
        // The text is laid out at device resolution, in a font of the
        // device height, so that it is as sharp and as bold as at scale 1.
        Font device = font_;
        device.height = DeviceGrid::Clamp(std::floor(font_.height * grid_.Scale() + 0.5));
        state.font = ToQFont(device);
        state.font.setStyleStrategy(QFont::NoAntialias);
        state.fontMade = font_;
        state.fontSet = true;
    }
    const int dx = grid_.EdgeClamped(x), dy = grid_.EdgeClamped(y);
    p.setClipRect(clip);
    p.setFont(state.font);
    p.setPen(ToQColor(font_.color));
    p.drawText(QRect(dx, dy, std::max(1, clip.right() + 1 - dx) + 4096, std::max(1, clip.bottom() + 1 - dy) + 4096),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(text));
    // Nothing else the canvas draws is clipped.
    p.setClipping(false);
    state.penSet = false;
}

} // namespace tk
