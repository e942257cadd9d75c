#include "plane.h"

#include "toolkit/paintbox.h"

namespace plane {

Mapping Plane::Map() const
{
    return Mapping(surface_.ClientWidth(), surface_.ClientHeight(), GridUnit);
}

tk::Canvas& Plane::Canvas() { return surface_.GetCanvas(); }

void Plane::ZahyoHeimen_Draw()
{
    tk::Canvas& c = Canvas();
    const int w = surface_.ClientWidth();
    const int h = surface_.ClientHeight();
    surface_.SetColor(tk::clWhite);
    c.SetBrushColor(tk::clWhite);
    c.SetBrushStyle(tk::BrushStyle::Solid);
    c.SetPenColor(tk::clSilver);
    if (style_.thinBorder)
        c.SetPenWidth(1);
    c.Rectangle(0, 0, w, h);

    // Lines run across twice the visible range and the surface clips them;
    // each vertical line x = i is mirrored in the diagonal to give the
    // horizontal line of the same row, so i = 0 draws both axes.
    const Mapping map = Map();
    for (std::int32_t i = -GridUnit; i <= GridUnit; ++i) {
        const auto fi = static_cast<float>(i);
        const auto gu = static_cast<float>(GridUnit);
        const PixelPoint a = map.ToPixel(ZahyoR(fi, -gu));
        const PixelPoint b = map.ToPixel(ZahyoR(fi, gu));
        c.SetPenColor(i == 0 ? tk::clBlack : tk::clSilver);
        if (style_.thinGridLines)
            c.SetPenWidth(1);
        c.MoveTo(a.x, a.y);
        c.LineTo(b.x, b.y);
        c.MoveTo(a.y, a.x);
        c.LineTo(b.y, b.x);
    }
    c.SetPenColor(tk::clMaroon);
}

void Plane::Ten_Dsp(RealPoint p)
{
    tk::Canvas& c = Canvas();
    const PixelPoint d = ToPixel(p);
    c.SetPenWidth(5);
    c.MoveTo(d.x, d.y);
    c.LineTo(d.x, d.y);
    c.SetPenWidth(1);
    if (style_.markerLeavesMaroon)
        c.SetPenColor(tk::clMaroon);
}

void Plane::ZanzoKioku()
{
    if (AfterimageCount >= kMaxAfterimages)
        return;
    ++AfterimageCount;
    points_[static_cast<std::size_t>(AfterimageCount)] = points_[0];
}

void Plane::Zanzo_Dsp()
{
    for (int k = 1; k <= AfterimageCount; ++k)
        Ten_Dsp(Afterimage(k));
}

void Plane::SetPFromClick(int x, int y)
{
    ClickPixel = RealPixel{static_cast<float>(x), static_cast<float>(y)};
    PointP() = DottoZahyo(ClickPixel);
}

} // namespace plane
