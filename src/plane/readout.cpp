#include "readout.h"

#include "toolkit/canvas.h"
#include "toolkit/numfmt.h"

#include <array>

namespace plane {

std::string CoordinateText(RealPoint p)
{
    return "点Ｐ (" + tk::FormatNumber(p.x) + " , " + tk::FormatNumber(p.y) + ")";
}

void WriteStrip(tk::Canvas& window, const tk::Rect& rect, tk::TColor colour, const std::string& text)
{
    window.SetFontColor(colour);
    window.TextRect(rect, rect.left, rect.top, text);
}

namespace {

// P's marker and its coordinates.
void TenP_Dsp(Plane& plane, tk::Canvas& window)
{
    plane.Canvas().SetPenColor(tk::clLime);
    plane.Ten_Dsp(plane.PointP());
    plane.ReadoutCoordinates = CoordinateText(plane.PointP());
    WriteStrip(window, kCoordinateRect, tk::clRed, plane.ReadoutCoordinates);
}

tk::Point ToCanvas(const Plane& plane, RealPoint p)
{
    const PixelPoint d = plane.ToPixel(p);
    return {d.x, d.y};
}

} // namespace

void ShowReadout(Plane& plane, tk::Canvas& window, const Measurement& m)
{
    // The pixels are taken before anything is drawn; P's marker may change
    // nothing of them, but this keeps the order the segments were measured in.
    const std::array<tk::Point, 3> path{ToCanvas(plane, m.from), ToCanvas(plane, plane.PointP()),
                                        ToCanvas(plane, m.to)};
    plane.ReadoutQuantity = m.text;
    WriteStrip(window, kQuantityRect, tk::clPurple, m.text);
    TenP_Dsp(plane, window);
    tk::Canvas& pen = plane.Canvas();
    pen.SetPenColor(m.matched ? tk::clFuchsia : tk::clYellow);
    pen.SetPenWidth(2);
    pen.Polyline(path);
    if (m.matched)
        plane.ZanzoKioku();
}

} // namespace plane
