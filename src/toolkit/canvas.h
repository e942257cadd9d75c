#pragma once

#include "color.h"
#include "device_grid.h"
#include "font.h"
#include "object.h"

#include <memory>
#include <span>
#include <string>

class QImage;
class QWidget;

namespace tk {

struct Raster;

enum class BrushStyle { Solid, Clear };

// A drawing surface's canvas. Pen, brush and font keep their settings from
// one operation to the next and from one paint to the next; drawing is not
// antialiased, so a 1-pixel line lies exactly on its pixel row or column.
// Wide pens have round caps and joins, and a line from a pixel to the same
// pixel paints a filled disc of the pen's width centred on that pixel.
// Coordinates of any size are safe: segments are clipped before drawing.
// Coordinates are design pixels; the image may be held at more device
// pixels per design pixel (DeviceGrid), and every line, disc, fill and text
// is then drawn at device resolution on whole device pixels.
class Canvas {
public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    TColor PenColor() const { return penColor_; }
    void SetPenColor(TColor color) { penColor_ = color; }
    int PenWidth() const { return penWidth_; }
    void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }

    TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(TColor color) { brushColor_ = color; }
    BrushStyle GetBrushStyle() const { return brushStyle_; }
    void SetBrushStyle(BrushStyle style) { brushStyle_ = style; }

    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font) { font_ = font; }
    TColor FontColor() const { return font_.color; }
    void SetFontColor(TColor color) { font_.color = color; }
    // Size in points at 96 dots per inch.
    void SetFontSize(int points);

    Point PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    // Lines through the points; the pen ends at the last one.
    void Polyline(std::span<const Point> points);
    // Filled with the brush, outlined with the pen inside the rectangle.
    void Rectangle(int left, int top, int right, int bottom);
    void FillRect(const Rect& rect);
    // Fills the rectangle with the brush and writes the text with its top-left
    // corner at (x, y), clipped to the rectangle.
    void TextRect(const Rect& rect, int x, int y, const std::string& text);

    // Design pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour of one design pixel: of the device pixel at its centre
    // (for tests and checks).
    TColor Pixel(int x, int y) const;

    // The device pixels (for tests and checks).
    const DeviceGrid& Grid() const { return grid_; }
    int DeviceWidth() const;
    int DeviceHeight() const;
    TColor DevicePixel(int x, int y) const;

    // Toolkit side: the image drawn into, held at `scale` device pixels per
    // design pixel, and the widget that shows it.
    void Attach(QImage* image, QWidget* viewer, double scale = 1.0);
    // Ends the drawing in progress so that the image can be read or shown.
    void Flush();

private:
    struct Painter;
    void Segment(Point a, Point b);
    void Disc(Point centre);
    Painter& Begin();
    void SetQtPen(Painter& p, int deviceWidth);
    // Asks the viewer to show the area (design pixels) again once the
    // drawing is done.
    void Changed(const Rect& area);
    // The image's pixels while a drawing is in progress, when the canvas may
    // write them itself; else null.
    const Raster* Direct() const;

    QImage* image_ = nullptr;
    DeviceGrid grid_;
    int width_ = 0, height_ = 0;
    QWidget* viewer_ = nullptr;
    std::unique_ptr<Painter> painter_;
    // The part of the image drawn since the viewer last showed it, and the
    // part the viewer has been asked to show.
    Rect dirty_;
    Rect requested_;
    TColor penColor_ = clBlack;
    int penWidth_ = 1;
    TColor brushColor_ = clWhite;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    Font font_;
    Point penPos_;
};

} // namespace tk
