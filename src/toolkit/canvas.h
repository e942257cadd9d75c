#pragma once

#include "color.h"
#include "device_grid.h"
#include "font.h"
#include "image.h"
#include "object.h"

#include <span>
#include <string>

namespace tk {

enum class BrushStyle { Solid, Clear };

// Whoever shows a canvas's image: asked to show an area of it again (design
// pixels, within the canvas) once the drawing in progress is done.
class CanvasViewer {
public:
    virtual ~CanvasViewer() = default;
    virtual void ShowArea(const Rect& area) = 0;
};

// Sets texts into an image; the platform's, since the faces are its own.
class TextPainter {
public:
    virtual ~TextPainter() = default;
    // Writes the text in the font (its height in device pixels) and colour
    // with its top-left corner at device pixel (x, y), without
    // antialiasing, touching no pixel outside `clip` (device pixels).
    virtual void DrawText(Image& image, const Font& font, const Rect& clip, int x, int y, const std::string& text) = 0;
    // The drawing on the image is done for now (it is about to be read,
    // shown, remade or let go): nothing may stay open on its pixels.
    virtual void Finish(const Image& image) = 0;
};

// The painter every canvas sets its texts with; until one is set, texts
// leave only their rectangles' fill.
void SetTextPainter(TextPainter* painter);

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
    Canvas() = default;
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
    // design pixel, and whoever shows it (null: nobody).
    void Attach(Image* image, CanvasViewer* viewer, double scale = 1.0);
    // Ends the drawing in progress, so that the image can be read, shown or
    // remade: the viewer has been asked for all of it.
    void Flush();

private:
    void Segment(Point a, Point b);
    void Disc(Point centre);
    // Asks the viewer to show the area (design pixels) again once the
    // drawing is done.
    void Changed(const Rect& area);

    Image* image_ = nullptr;
    DeviceGrid grid_;
    int width_ = 0, height_ = 0;
    CanvasViewer* viewer_ = nullptr;
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
