#include "canvas.h"

#include "qtbridge.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

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

unsigned PixelValue(TColor c)
{
    return 0xFF000000u | static_cast<unsigned>(RedOf(c)) << 16 | static_cast<unsigned>(GreenOf(c)) << 8 |
           static_cast<unsigned>(BlueOf(c));
}

// The rows of a disc as spans around its centre pixel: pixel centres within
// half the pen's width of the centre; an odd width centres the disc on the
// pixel, an even one on its top-left corner. Kept for the last width asked.
struct DiscShape {
    struct Row {
        int dy, first, last;
    };
    int width = 0;
    std::vector<Row> rows;

    void Make(int w)
    {
        width = w;
        rows.clear();
        const double r2 = w * w / 4.0;
        const double offset = (w % 2 == 1) ? 0.0 : 0.5;
        for (int y = -w; y <= w; ++y) {
            const double cy = y + offset;
            int lo = 1, hi = 0;
            for (int x = -w; x <= w; ++x) {
                const double cx = x + offset;
                if (cx * cx + cy * cy <= r2) {
                    if (lo > hi)
                        lo = x;
                    hi = x;
                }
            }
            if (lo <= hi)
                rows.push_back({y, lo, hi});
        }
    }
};

const DiscShape& DiscOfWidth(int w)
{
    static DiscShape shape;
    if (shape.width != w)
        shape.Make(w);
    return shape;
}

// The pixels Qt's rasteriser gives a short line of a wide round-capped pen,
// as row spans relative to the line's start. Aliased rasterisation does not
// depend on where a line lies, only on its vector, so each vector is drawn
// once through QPainter and then stamped wherever a line has it; a curve
// drawn in short steps repeats the same few vectors thousands of times.
class LineStamps {
public:
    static constexpr int kMinWidth = 2;
    static constexpr int kMaxWidth = 4;
    static constexpr int kReach = 12;  // the largest |dx| and |dy| stamped
    static constexpr int kMaxRows = 2 * kReach + kMaxWidth + 6;

    struct Stamp {
        bool made = false;
        bool usable = false;  // one span a row, as a convex shape has
        std::int8_t top = 0;
        std::int8_t rows = 0;
        std::int8_t first[kMaxRows] = {};
        std::int8_t last[kMaxRows] = {};
    };

    // The stamp of the line (0, 0) -> (dx, dy), or null when none is kept.
    const Stamp* Find(int width, int dx, int dy)
    {
        if (width < kMinWidth || width > kMaxWidth || std::abs(dx) > kReach || std::abs(dy) > kReach)
            return nullptr;
        Stamp& s = stamps_[width - kMinWidth][dy + kReach][dx + kReach];
        if (!s.made)
            Make(s, width, dx, dy);
        return s.usable ? &s : nullptr;
    }

private:
    static constexpr int kMargin = kReach + kMaxWidth + 3;
    static constexpr int kSide = 2 * kMargin + 1;

    static void Make(Stamp& s, int width, int dx, int dy)
    {
        s.made = true;
        QImage scratch(kSide, kSide, QImage::Format_RGB32);
        scratch.fill(Qt::white);
        {
            QPainter p(&scratch);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QLineF(kMargin, kMargin, kMargin + dx, kMargin + dy));
        }
        int rows = 0;
        bool ended = false;
        for (int y = 0; y < kSide; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            int lo = -1, hi = -1, count = 0;
            for (int x = 0; x < kSide; ++x) {
                if (qRed(line[x]) == 0) {
                    if (lo < 0)
                        lo = x;
                    hi = x;
                    ++count;
                }
            }
            if (count == 0) {
                ended = rows > 0;
                continue;
            }
            // A gap within a row or between rows, or a shape touching the
            // scratch image's edge, is left to QPainter.
            if (ended || count != hi - lo + 1 || lo == 0 || hi == kSide - 1 || rows == kMaxRows)
                return;
            if (rows == 0)
                s.top = static_cast<std::int8_t>(y - kMargin);
            s.first[rows] = static_cast<std::int8_t>(lo - kMargin);
            s.last[rows] = static_cast<std::int8_t>(hi - kMargin);
            ++rows;
        }
        s.rows = static_cast<std::int8_t>(rows);
        s.usable = rows > 0;
    }

    Stamp stamps_[kMaxWidth - kMinWidth + 1][2 * kReach + 1][2 * kReach + 1];
};

LineStamps& Stamps()
{
    static LineStamps stamps;
    return stamps;
}

} // namespace

// 32 bits a pixel and one pixel a logical unit: the canvas writes spans of
// an opaque colour straight into the image, which is what QPainter's aliased
// fills and strokes amount to.
struct Canvas::Raster {
    // Null when the image is not written directly.
    unsigned* pixels = nullptr;
    std::ptrdiff_t stride = 0;  // pixels a row
    int width = 0;
    int height = 0;

    // Takes the pixels of an image that a painter is drawing on; they stay
    // where they are until the painter ends.
    bool Take(QImage& image);
    // Fills [x0, x1] of row y, clipped to the image.
    void Span(int y, int x0, int x1, unsigned colour) const
    {
        if (y < 0 || y >= height)
            return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        if (x0 <= x1)
            std::fill(pixels + y * stride + x0, pixels + y * stride + x1 + 1, colour);
    }
    // Fills column x from row y0 to row y1, clipped to the image.
    void Column(int x, int y0, int y1, unsigned colour) const
    {
        if (x < 0 || x >= width)
            return;
        y0 = std::max(y0, 0);
        y1 = std::min(y1, height - 1);
        for (unsigned* p = pixels + y0 * stride + x; y0 <= y1; ++y0, p += stride)
            *p = colour;
    }
};

struct Canvas::Painter {
    QPainter painter;
    TColor penColor = 0;
    int penWidth = 0;
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

void Canvas::Changed(const Rect& area)
{
    // The batch of drawing ends when the viewer paints; it asks for a repaint
    // of the drawn area only, and again only when that area grows, so that a
    // text above the plane does not repaint the whole window.
    if (!viewer_)
        return;
    const Raster* direct = Direct();
    const Rect a{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, direct ? direct->width : Width()),
                 std::min(area.bottom, direct ? direct->height : Height())};
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
    // The viewer's logical pixels may be larger than the canvas's own.
    const qreal scale = image_->devicePixelRatio() / viewer_->devicePixelRatioF();
    if (scale == 1.0)
        viewer_->update(dirty_.left, dirty_.top, dirty_.Width(), dirty_.Height());
    else
        viewer_->update(QRectF(dirty_.left * scale, dirty_.top * scale, dirty_.Width() * scale,
                               dirty_.Height() * scale).toAlignedRect().adjusted(-1, -1, 1, 1));
}

bool Canvas::Raster::Take(QImage& image)
{
    pixels = nullptr;
    if (image.devicePixelRatio() != 1.0)
        return false;
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

const Canvas::Raster* Canvas::Direct() const
{
    const Painter& p = *painter_;
    return p.painter.isActive() && p.raster.pixels ? &p.raster : nullptr;
}

void Canvas::SetFontSize(int points) { font_.height = PointsToPixels(points); }

int Canvas::Width() const
{
    return image_ ? static_cast<int>(std::lround(image_->width() / image_->devicePixelRatio())) : 0;
}

int Canvas::Height() const
{
    return image_ ? static_cast<int>(std::lround(image_->height() / image_->devicePixelRatio())) : 0;
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
    const Raster* direct = Direct();
    const int width = direct ? direct->width : Width();
    const int height = direct ? direct->height : Height();
    const auto within = [&](Point q, double margin) {
        return q.x >= -margin && q.y >= -margin && q.x <= width + margin && q.y <= height + margin;
    };
    const bool unclipped = within(a, w) && within(b, w);
    if (!unclipped) {
        if (!ClipSegment(x0, y0, x1, y1, -w, width + w, height + w))
            return;  // nothing of it can show
        // Clipping moves an endpoint to a fraction of a pixel, which can move
        // a pixel of the line: only segments reaching far beyond the surface,
        // where that cannot show, are drawn clipped.
        constexpr double kFar = 4096;
        if (within(a, kFar) && within(b, kFar)) {
            x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
        }
    }
    Painter& p = Begin();
    direct = Direct();
    const int reach = penWidth_ / 2 + 2;
    Changed({static_cast<int>(std::floor(std::min(x0, x1))) - reach,
             static_cast<int>(std::floor(std::min(y0, y1))) - reach,
             static_cast<int>(std::ceil(std::max(x0, x1))) + reach + 1,
             static_cast<int>(std::ceil(std::max(y0, y1))) + reach + 1});
    if (direct) {
        const Raster& r = *direct;
        const unsigned colour = PixelValue(penColor_);
        // A 1-pixel line along a row or a column right across the surface,
        // as the grid draws them, covers exactly that row or column.
        if (penWidth_ == 1 && a.y == b.y && std::min(a.x, b.x) < 0 && std::max(a.x, b.x) >= width) {
            r.Span(a.y, 0, width - 1, colour);
            return;
        }
        if (penWidth_ == 1 && a.x == b.x && std::min(a.y, b.y) < 0 && std::max(a.y, b.y) >= height) {
            r.Column(a.x, 0, height - 1, colour);
            return;
        }
        // A short line that needed no clipping, as a curve's steps are.
        if (unclipped) {
            if (const LineStamps::Stamp* s = Stamps().Find(penWidth_, b.x - a.x, b.y - a.y)) {
                for (int row = 0; row < s->rows; ++row)
                    r.Span(a.y + s->top + row, a.x + s->first[row], a.x + s->last[row], colour);
                return;
            }
        }
    }
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
    const Raster* direct = Direct();
    const int width = direct ? direct->width : Width();
    const int height = direct ? direct->height : Height();
    if (centre.x < -w || centre.y < -w || centre.x > width + w || centre.y > height + w)
        return;
    Painter& p = Begin();
    Changed({centre.x - w, centre.y - w, centre.x + w + 1, centre.y + w + 1});
    const DiscShape& d = DiscOfWidth(w);
    if (const Raster* r = Direct()) {
        const unsigned colour = PixelValue(penColor_);
        for (const DiscShape::Row& row : d.rows)
            r->Span(centre.y + row.dy, centre.x + row.first, centre.x + row.last, colour);
        return;
    }
    const QColor colour = ToQColor(penColor_);
    for (const DiscShape::Row& row : d.rows)
        p.painter.fillRect(QRect(centre.x + row.first, centre.y + row.dy, row.last - row.first + 1, 1), colour);
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
    Changed(rect);
}

void Canvas::TextRect(const Rect& rect, int x, int y, const std::string& text)
{
    if (!image_)
        return;
    QPainter& p = Begin().painter;
    Changed(rect);
    const QRect clip(rect.left, rect.top, rect.Width(), rect.Height());
    if (brushStyle_ == BrushStyle::Solid)
        p.fillRect(clip, ToQColor(brushColor_));
    if (text.empty())
        return;
    Painter& state = *painter_;
    if (!state.fontSet || state.fontMade.name != font_.name || state.fontMade.height != font_.height ||
        state.fontMade.bold != font_.bold) {
        state.font = ToQFont(font_);
        state.font.setStyleStrategy(QFont::NoAntialias);
        state.fontMade = font_;
        state.fontSet = true;
    }
    p.setClipRect(clip);
    p.setFont(state.font);
    p.setPen(ToQColor(font_.color));
    p.drawText(QRect(x, y, std::max(1, rect.right - x) + 4096, std::max(1, rect.bottom - y) + 4096),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(text));
    // Nothing else the canvas draws is clipped.
    p.setClipping(false);
    state.penSet = false;
}

} // namespace tk
