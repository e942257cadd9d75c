#include "scenes.h"

#include "activities/focal_curve.h"
#include "toolkit/qt/native.h"
#include "activities/junsen_form.h"
#include "activities/ratio_curve.h"
#include "activities/syoten_form.h"
#include "plane/readout.h"
#include "toolkit/application.h"
#include "toolkit/numfmt.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cmath>
#include <cstdint>

namespace bench {

namespace {

constexpr int kWidestZoomPosition = 0;
// The clicked pixel: off both curves of either window, so the segments are
// yellow and the readout stores nothing.
constexpr int kClickX = 430;
constexpr int kClickY = 250;

QColor Colour(tk::TColor c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QString Text(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QRect ToQRect(const tk::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Records a curve tracer's polylines as lines and discs of the curve's pen.
struct PrimitiveSink {
    std::vector<Primitive>& out;
    QPoint pen;
    void MoveTo(std::int32_t x, std::int32_t y) { pen = QPoint(x, y); }
    void LineTo(std::int32_t x, std::int32_t y)
    {
        const QPoint to(x, y);
        Primitive p;
        p.kind = to == pen ? Primitive::Kind::Disc : Primitive::Kind::Line;
        p.colour = Colour(tk::clRed);
        p.width = 2;
        p.a = pen;
        p.b = to;
        out.push_back(p);
        pen = to;
    }
};

} // namespace

std::string Name(Activity activity, Conic conic)
{
    return std::string(activity == Activity::Junsen ? "Junsen" : "Syoten") + "/" +
           (conic == Conic::Hyperbola ? "hyperbola" : "ellipse");
}

struct Scene::PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

Scene::Scene(Activity activity, Conic conic)
    : activity_(activity), conic_(conic), planePaints_(std::make_unique<PaintCounter>()),
      windowPaints_(std::make_unique<PaintCounter>())
{
    tk::Application::Instance().SetMessageHandler(
        [this](const std::string&, const std::string& text) { messages_ += text + "; "; });
    const bool hyperbola = conic == Conic::Hyperbola;
    // Opened from the menu, at the widest zoom, then the conditions entered.
    if (activity == Activity::Junsen)
        form_ = std::make_unique<activities::TJunsen_Form>();
    else
        form_ = std::make_unique<activities::TSyoten_Form>();
    form_->Show();
    form_->ClsButtonClick(nullptr);
    QApplication::processEvents();
    form_->ScrollBar1->SetPosition(kWidestZoomPosition);
    form_->Syokika(nullptr);
    if (activity == Activity::Junsen) {
        auto& form = static_cast<activities::TJunsen_Form&>(*form_);
        entry::JunsenFields& f = form.Fields;
        // x = -2, F (2, 0), PF : PH = 2 : 1 (hyperbola) or 1 : 2 (ellipse).
        f.LineKind = 1;
        f.LineConst = -2;
        f.LinePrefix = "Ｘ＝";
        f.LineState = 9;
        f.FocusX = 2;
        f.FocusXState = 9;
        f.FocusY = 0;
        f.FocusYState = 9;
        f.RatioPF = hyperbola ? 2.0f : 1.0f;
        f.RatioPFState = 9;
        f.RatioPH = hyperbola ? 1.0f : 2.0f;
        f.RatioPHState = 9;
        form.BtnKetteiClick(nullptr);
    } else {
        auto& form = static_cast<activities::TSyoten_Form&>(*form_);
        entry::SyotenFields& f = form.Fields;
        // F1 (-3, 0), F2 (3, 0), difference 4 (hyperbola) or sum 10 (ellipse).
        f.Focus1X = -3.0f;
        f.Focus1XState = 9;
        f.Focus1Y = 0.0f;
        f.Focus1YState = 9;
        f.Focus2X = 3.0f;
        f.Focus2XState = 9;
        f.Focus2Y = 0.0f;
        f.Focus2YState = 9;
        f.DistanceKind = hyperbola ? 2 : 1;
        f.DistanceValue = hyperbola ? 4 : 10;
        f.DistancePrefix = hyperbola ? "差＝" : "和＝";
        f.DistanceState = 9;
        form.BtnKetteiClick(nullptr);
    }
    // A full store of afterimages spread over the visible plane, then P from
    // a click, which repaints once.
    plane::Plane& p = form_->Plane;
    for (int k = 0; k < plane::Plane::kMaxAfterimages; ++k) {
        p.PointP() = {static_cast<float>(k % 37) - 18.0f, static_cast<float>(k / 37) - 13.0f};
        p.ZanzoKioku();
    }
    form_->PaintBox1MouseDown(nullptr, tk::MouseButton::Left, tk::ssLeft, kClickX, kClickY);
    form_->CurveShown = true;
    form_->PaintBox1Paint(nullptr);
    QApplication::processEvents();
    tk::AsWidget(form_->PaintBox1->NativeWidget())->installEventFilter(planePaints_.get());
    tk::AsWidget(form_->NativeWidget())->installEventFilter(windowPaints_.get());
}

Scene::~Scene()
{
    tk::AsWidget(form_->PaintBox1->NativeWidget())->removeEventFilter(planePaints_.get());
    tk::AsWidget(form_->NativeWidget())->removeEventFilter(windowPaints_.get());
    form_.reset();
    tk::Application::Instance().SetMessageHandler({});
}

int Scene::PlanePaints() const { return planePaints_->paints; }
int Scene::WindowPaints() const { return windowPaints_->paints; }

void Scene::DrawCurve()
{
    if (activity_ == Activity::Junsen)
        static_cast<activities::TJunsen_Form&>(*form_).Kansubyoga();
    else
        static_cast<activities::TSyoten_Form&>(*form_).Kansubyoga();
}

std::string Scene::Fault() const
{
    std::string fault = messages_;
    const plane::Plane& p = form_->Plane;
    if (p.GridUnit != 36)
        fault += "GridUnit " + std::to_string(p.GridUnit) + "; ";
    if (p.AfterimageCount != plane::Plane::kMaxAfterimages)
        fault += "afterimages " + std::to_string(p.AfterimageCount) + "; ";
    if (!form_->CurveShown)
        fault += "curve off; ";
    if (!form_->Visible())
        fault += "window hidden; ";
    return fault;
}

std::vector<Primitive> Scene::Primitives() const
{
    std::vector<Primitive> out;
    const plane::Plane& pl = form_->Plane;
    const plane::Mapping map = pl.Map();
    const std::int32_t g = pl.GridUnit;
    const auto pixel = [&](plane::RealPoint p) {
        const plane::PixelPoint d = map.ToPixel(p);
        return QPoint(d.x, d.y);
    };
    const auto line = [&](QPoint a, QPoint b, tk::TColor colour, int width) {
        Primitive p;
        p.kind = Primitive::Kind::Line;
        p.a = a;
        p.b = b;
        p.colour = Colour(colour);
        p.width = width;
        out.push_back(p);
    };
    const auto disc = [&](plane::RealPoint at, tk::TColor colour) {
        Primitive p;
        p.kind = Primitive::Kind::Disc;
        p.a = pixel(at);
        p.colour = Colour(colour);
        p.width = 5;
        out.push_back(p);
    };
    const auto text = [&](const tk::Rect& r, tk::TColor colour, const std::string& s) {
        Primitive p;
        p.kind = Primitive::Kind::Text;
        p.rect = ToQRect(r);
        p.colour = Colour(colour);
        p.text = Text(s);
        p.onWindow = true;
        out.push_back(p);
    };

    Primitive border;
    border.kind = Primitive::Kind::Rectangle;
    border.rect = QRect(0, 0, 660, 660);
    border.colour = Colour(tk::clSilver);
    border.width = 1;
    out.push_back(border);
    for (std::int32_t i = -g; i <= g; ++i) {
        const QPoint a = pixel({static_cast<float>(i), static_cast<float>(-g)});
        const QPoint b = pixel({static_cast<float>(i), static_cast<float>(g)});
        const tk::TColor colour = i == 0 ? tk::clBlack : tk::clSilver;
        line(a, b, colour, 1);
        line(a.transposed(), b.transposed(), colour, 1);
    }
    for (int k = 1; k <= pl.AfterimageCount; ++k)
        disc(pl.Afterimage(k), tk::clMaroon);

    const plane::RealPoint p = pl.PointP();
    plane::RealPoint from, to;
    std::string quantity;
    if (activity_ == Activity::Junsen) {
        const auto& f = static_cast<const activities::TJunsen_Form&>(*form_);
        disc(f.FocusF, tk::clRed);
        const auto c = static_cast<float>(f.Fields.LineConst);
        line(pixel({c, static_cast<float>(-g)}), pixel({c, static_cast<float>(g)}), tk::clAqua, 2);
        const float pf = std::sqrt(pl.Kyori(f.FocusF, p));
        const float ph = std::sqrt(pl.Kyori(f.FootH, p));
        quantity = "ＰＦ：ＰＨ＝" + tk::FormatNumber(f.Fields.RatioPF) + ":" +
                   tk::FormatNumber(ph / pf * f.Fields.RatioPF) + " 誤差＝" +
                   tk::FormatNumber(std::fabs(pf * f.Fields.RatioPH - ph * f.Fields.RatioPF));
        from = f.FocusF;
        to = f.FootH;
    } else {
        const auto& f = static_cast<const activities::TSyoten_Form&>(*form_);
        disc(f.Focus1, tk::clMaroon);
        disc(f.Focus2, tk::clMaroon);
        disc(p, tk::clLime);
        const float d1 = pl.Kyori(f.Focus1, p);
        const float d2 = pl.Kyori(f.Focus2, p);
        const bool sum = f.Fields.DistanceKind == 1;
        const float value = sum ? d1 + d2 : std::fabs(d1 - d2);
        quantity = std::string(sum ? "距離の和＝" : "距離の差＝") + tk::FormatNumber(value) + " 誤差＝" +
                   tk::FormatNumber(std::fabs(value - static_cast<float>(f.Fields.DistanceValue)));
        from = f.Focus1;
        to = f.Focus2;
    }
    text(plane::kQuantityRect, tk::clPurple, quantity);
    disc(p, tk::clLime);
    text(plane::kCoordinateRect, tk::clRed, plane::CoordinateText(p));
    line(pixel(from), pixel(p), tk::clYellow, 2);
    line(pixel(p), pixel(to), tk::clYellow, 2);

    PrimitiveSink sink{out, {}};
    if (activity_ == Activity::Junsen) {
        const auto& f = static_cast<const activities::TJunsen_Form&>(*form_);
        activities::TraceRatioCurve({f.Fields.RatioPF, f.Fields.RatioPH, f.Fields.LineKind, f.FocusF, f.FootH.x},
                                    map, sink);
    } else {
        const auto& f = static_cast<const activities::TSyoten_Form&>(*form_);
        activities::TraceFocalCurve({f.Focus1, f.Focus2, f.Fields.DistanceKind, f.Fields.DistanceValue}, map,
                                    sink);
    }
    return out;
}

} // namespace bench
