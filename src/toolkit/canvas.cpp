#include "canvas.h"

#include "qtbridge.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

namespace {

// Liang-Barsky clipping of the segment to [lo, hi] on both axes.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    const double nx1 = x0 + t1 * dx, ny1 = y0 + t1 * dy;
    x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
    return true;
}

} // namespace

struct Canvas::Painter {
    QPainter painter;
    TColor penColor = 0;
    int penWidth = 0;
    bool penSet = false;
};

Canvas::Canvas() : painter_(std::make_unique<Painter>()) {}
Canvas::~Canvas() { Flush(); }

void Canvas::Attach(QImage* image, QWidget* viewer)
{
    Flush();
    image_ = image;
    viewer_ = viewer;
}

void Canvas::Flush()
{
    if (painter_ && painter_->painter.isActive())
        painter_->painter.end();
}

Canvas::Painter& Canvas::Begin()
{
    Painter& p = *painter_;
    if (!p.painter.isActive()) {
        p.painter.begin(image_);
        p.painter.setRenderHint(QPainter::Antialiasing, false);
        p.painter.setRenderHint(QPainter::TextAntialiasing, false);
        p.penSet = false;
        // One repaint of the viewer for each batch of drawing: the batch ends
        // when the viewer paints.
        if (viewer_)
            viewer_->update();
    }
    return p;
}

void Canvas::SetFontSize(int points) { font_.height = PointsToPixels(points); }

int Canvas::Width() const
{
    return image_ ? static_cast<int>(image_->width() / image_->devicePixelRatio()) : 0;
}

int Canvas::Height() const
{
    return image_ ? static_cast<int>(image_->height() / image_->devicePixelRatio()) : 0;
}

TColor Canvas::Pixel(int x, int y) const
{
    if (!image_)
        return clBlack;
    const_cast<Canvas*>(this)->Flush();
    const qreal dpr = image_->devicePixelRatio();
    const int px = static_cast<int>(x * dpr), py = static_cast<int>(y * dpr);
    if (px < 0 || py < 0 || px >= image_->width() || py >= image_->height())
        return clBlack;
    return FromQRgb(image_->pixel(px, py));
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
    // Qt's rasterisers work in fixed point and must never see huge
    // coordinates, so the segment is cut to the surface and the pen's reach.
    double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
    const double w = penWidth_;
    if (!ClipSegment(x0, y0, x1, y1, -w, Width() + w, Height() + w))
        return;
    Painter& p = Begin();
    if (!p.penSet || p.penColor != penColor_ || p.penWidth != penWidth_) {
        p.painter.setPen(QPen(ToQColor(penColor_), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.penColor = penColor_;
        p.penWidth = penWidth_;
        p.penSet = true;
    }
    p.painter.drawLine(QLineF(x0, y0, x1, y1));
}

void Canvas::Disc(Point centre)
{
    const int w = penWidth_;
    if (centre.x < -w || centre.y < -w || centre.x > Width() + w || centre.y > Height() + w)
        return;
    Painter& p = Begin();
    const QColor colour = ToQColor(penColor_);
    // Pixel centres within half the pen's width of the centre: an odd width
    // centres the disc on the pixel, an even one on its top-left corner.
    const double r2 = w * w / 4.0;
    const double offset = (w % 2 == 1) ? 0.0 : 0.5;
    for (int dy = -w; dy <= w; ++dy) {
        const double cy = dy + offset;
        int first = 1, last = 0;
        for (int dx = -w; dx <= w; ++dx) {
            const double cx = dx + offset;
            if (cx * cx + cy * cy <= r2) {
                if (first > last)
                    first = dx;
                last = dx;
            }
        }
        if (first <= last)
            p.painter.fillRect(QRect(centre.x + first, centre.y + dy, last - first + 1, 1), colour);
    }
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
    const QRect r(left, top, right - left, bottom - top);
    if (brushStyle_ == BrushStyle::Solid)
        p.painter.fillRect(r, ToQColor(brushColor_));
    const int w = std::min({penWidth_, r.width(), r.height()});
    const QColor pen = ToQColor(penColor_);
    p.painter.fillRect(QRect(left, top, r.width(), w), pen);
    p.painter.fillRect(QRect(left, bottom - w, r.width(), w), pen);
    p.painter.fillRect(QRect(left, top, w, r.height()), pen);
    p.painter.fillRect(QRect(right - w, top, w, r.height()), pen);
}

void Canvas::FillRect(const Rect& rect)
{
    if (!image_)
        return;
    Begin().painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                             ToQColor(brushColor_));
}

void Canvas::TextRect(const Rect& rect, int x, int y, const std::string& text)
{
    if (!image_)
        return;
    QPainter& p = Begin().painter;
    const QRect clip(rect.left, rect.top, rect.Width(), rect.Height());
    if (brushStyle_ == BrushStyle::Solid)
        p.fillRect(clip, ToQColor(brushColor_));
    if (text.empty())
        return;
    QFont font = ToQFont(font_);
    font.setStyleStrategy(QFont::NoAntialias);
    p.save();
    p.setClipRect(clip);
    p.setFont(font);
    p.setPen(ToQColor(font_.color));
    p.drawText(QRect(x, y, std::max(1, rect.right - x) + 4096, std::max(1, rect.bottom - y) + 4096),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(text));
    p.restore();
    painter_->penSet = false;
}

} // namespace tk
