#include "toolkit/canvas.h"

#include "raster.h"
#include "rasterizer.h"

#include <algorithm>
#include <cmath>

namespace tk {

namespace {
TextPainter* textPainter = nullptr;
} // namespace

void SetTextPainter(TextPainter* painter) { textPainter = painter; }

Canvas::~Canvas() { Flush(); }

void Canvas::Attach(Image* image, CanvasViewer* viewer, double scale)
{
    Flush();
    image_ = image && !image->IsNull() ? image : nullptr;
    viewer_ = viewer;
    grid_ = DeviceGrid(scale);
    width_ = image_ ? grid_.DesignExtent(image_->Width()) : 0;
    height_ = image_ ? grid_.DesignExtent(image_->Height()) : 0;
}

void Canvas::Flush()
{
    if (image_ && textPainter)
        textPainter->Finish(*image_);
    // The viewer has been asked for everything drawn so far.
    dirty_ = {};
    requested_ = {};
}

void Canvas::Changed(const Rect& area)
{
    // The batch of drawing ends when the viewer shows it; it is asked to show
    // the drawn area only, and again only when that area grows, so that a
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
    viewer_->ShowArea(dirty_);
}

void Canvas::SetFontSize(int points) { font_.height = PointsToPixels(points); }

int Canvas::DeviceWidth() const { return image_ ? image_->Width() : 0; }
int Canvas::DeviceHeight() const { return image_ ? image_->Height() : 0; }

TColor Canvas::DevicePixel(int x, int y) const
{
    if (!image_ || x < 0 || y < 0 || x >= image_->Width() || y >= image_->Height())
        return clBlack;
    if (textPainter)
        textPainter->Finish(*image_);
    return ColorOfPixel(image_->Pixel(x, y));
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
    // of this width, and the pen a whole number of device pixels wide. The
    // rasterizer cuts what reaches far beyond the surface.
    const int reach = penWidth_ / 2 + 2;
    const double r0 = reach, r1 = reach + 1;
    Changed({DeviceGrid::Clamp(std::min(a.x, b.x) - r0), DeviceGrid::Clamp(std::min(a.y, b.y) - r0),
             DeviceGrid::Clamp(std::max(a.x, b.x) + r1), DeviceGrid::Clamp(std::max(a.y, b.y) + r1)});
    DrawLine(Raster::Of(*image_), grid_.PenCoordinate(a.x, penWidth_), grid_.PenCoordinate(a.y, penWidth_),
             grid_.PenCoordinate(b.x, penWidth_), grid_.PenCoordinate(b.y, penWidth_), grid_.PenWidth(penWidth_),
             PixelOf(penColor_));
}

void Canvas::Disc(Point centre)
{
    const int w = grid_.PenWidth(penWidth_);
    const double cx = grid_.PenCoordinate(centre.x, penWidth_), cy = grid_.PenCoordinate(centre.y, penWidth_);
    if (cx < -w || cy < -w || cx > DeviceWidth() + w || cy > DeviceHeight() + w)
        return;
    Changed({centre.x - penWidth_, centre.y - penWidth_, centre.x + penWidth_ + 1, centre.y + penWidth_ + 1});
    DrawDisc(Raster::Of(*image_), cx, cy, w, PixelOf(penColor_));
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!image_)
        return;
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    Changed({left, top, right, bottom});
    const Rect r = grid_.ToDevice({left, top, right, bottom});
    const Raster raster = Raster::Of(*image_);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    if (brushStyle_ == BrushStyle::Solid)
        raster.Fill(r, PixelOf(brushColor_));
    // The outline lies inside the rectangle, as wide as the pen where the
    // rectangle has room for it.
    const int w = std::min({grid_.PenWidth(penWidth_), r.Width(), r.Height()});
    const std::uint32_t pen = PixelOf(penColor_);
    raster.Block(r.left, r.right - 1, r.top, r.top + w - 1, pen);
    raster.Block(r.left, r.right - 1, r.bottom - w, r.bottom - 1, pen);
    raster.Block(r.left, r.left + w - 1, r.top, r.bottom - 1, pen);
    raster.Block(r.right - w, r.right - 1, r.top, r.bottom - 1, pen);
}

void Canvas::FillRect(const Rect& rect)
{
    if (!image_)
        return;
    const Rect r = grid_.ToDevice(rect);
    Raster::Of(*image_).Fill(r, PixelOf(brushColor_));
    Changed(rect);
}

void Canvas::TextRect(const Rect& rect, int x, int y, const std::string& text)
{
    if (!image_)
        return;
    Changed(rect);
    const Rect clip = grid_.ToDevice(rect);
    if (brushStyle_ == BrushStyle::Solid)
        Raster::Of(*image_).Fill(clip, PixelOf(brushColor_));
    if (text.empty() || !textPainter || clip.left >= clip.right || clip.top >= clip.bottom)
        return;
    // The text is laid out at device resolution, in a font of the device
    // height, so that it is as sharp and as bold as at scale 1.
    Font device = font_;
    device.height = DeviceGrid::Clamp(std::floor(font_.height * grid_.Scale() + 0.5));
    textPainter->DrawText(*image_, device, clip, grid_.EdgeClamped(x), grid_.EdgeClamped(y), text);
}

} // namespace tk
