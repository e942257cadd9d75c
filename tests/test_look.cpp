// How the panels look with the installed fonts, checked on their pixels:
// the parenthesis frames around the coordinate boxes, the group boxes'
// frames and colours, glyphs that no control cuts, the message box at
// every scale, the faces of the bold captions and the focus frame.

#include "activities/junsen_form.h"
#include "toolkit/qt/native.h"
#include "activities/syoten_form.h"
#include "app/menu2.h"
#include "toolkit/button.h"
#include "toolkit/design_scale.h"
#include "toolkit/form.h"
#include "toolkit/qt/messagebox.h"
#include "toolkit/scrollbar.h"

#include "support/form_driver.h"
#include "support/look_check.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAccessible>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace activities;

namespace {

using JunsenWindow = form_test::FormDriver<TJunsen_Form>;
using SyotenWindow = form_test::FormDriver<TSyoten_Form>;

QRgb Rgb(tk::TColor c) { return qRgb(tk::RedOf(c), tk::GreenOf(c), tk::BlueOf(c)); }

// The widget as the screen shows it, at the screen's pixel ratio; without
// its children unless asked for, on a colour no control uses.
QImage Render(QWidget* w, bool children = false)
{
    const qreal ratio = w->devicePixelRatioF();
    QImage image((QSizeF(w->size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    QWidget::RenderFlags flags = QWidget::DrawWindowBackground;
    if (children)
        flags |= QWidget::DrawChildren;
    w->render(&image, QPoint(), QRegion(), flags);
    return image;
}

// The bounding box of the pixels in which two images differ, leaving out
// those that either image has in one of the colours to ignore.
QRect Changed(const QImage& a, const QImage& b, const std::vector<QRgb>& ignore = {})
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && std::ranges::find(ignore, a.pixel(x, y)) == ignore.end() &&
                std::ranges::find(ignore, b.pixel(x, y)) == ignore.end())
                box |= QRect(x, y, 1, 1);
    return box;
}

// The colours of a group box's etched frame, which a caption interrupts.
const std::vector<QRgb> kFrameLines{qRgb(128, 128, 128), qRgb(255, 255, 255)};

// A control that shows a text, and how to take it away and put it back.
struct Text {
    QWidget* widget;
    QString text;
    std::function<void(const QString&)> set;
    bool fromTopLeft;               // placed from the top-left corner, not from the bounds
    std::vector<QRgb> ignore = {};  // colours that show where the text is not
};

std::vector<Text> TextsOf(QWidget* root)
{
    std::vector<Text> texts;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        // A label places its text from the bounds it was given, whatever its
        // surface, a button in its middle, a group box at its top left.
        Text t{w, {}, {}, false};
        if (auto* l = qobject_cast<QLabel*>(w))
            t = {w, l->text(), [l](const QString& s) { l->setText(s); }, false};
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            t = {w, b->text(), [b](const QString& s) { b->setText(s); }, false};
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            t = {w, g->title(), [g](const QString& s) { g->setTitle(s); }, true, kFrameLines};
        if (!t.text.isEmpty())
            texts.push_back(std::move(t));
    }
    return texts;
}

// The ink the text leaves on its control, in the control's pixels: what
// changes when the text is taken away. With grow, the control is first
// given room on every side that does not move its text, so the ink is the
// text's own, uncut extent at the same place.
QRect InkOf(const Text& t, bool grow)
{
    const QRect placed = t.widget->geometry();
    constexpr int kRoom = 40;
    const int left = t.fromTopLeft ? 0 : kRoom, top = left;
    if (grow)
        t.widget->setGeometry(placed.adjusted(-left, -top, kRoom, kRoom));
    const QImage with = Render(t.widget);
    t.set({});
    const QImage without = Render(t.widget);
    t.set(t.text);
    t.widget->setGeometry(placed);
    const qreal ratio = t.widget->devicePixelRatioF();
    return Changed(with, without, t.ignore).translated(grow ? -QPoint(left, top) * ratio : QPoint());
}

// The ink of a text set alone in the font by the style the controls draw
// with (a made-up bold at the device's size), in pixels at the ratio.
QRect OwnInk(const QFont& font, const QString& text, qreal ratio = 1)
{
    QImage image((QSizeF(800, 200) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    const QImage blank = image;
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    QApplication::style()->drawItemText(&painter, QRect(50, 50, 700, 100), Qt::AlignLeft | Qt::AlignVCenter,
                                        QApplication::palette(), true, text, QPalette::NoRole);
    painter.end();
    return Changed(image, blank);
}

// Every text of the window shows whole: its ink lies inside its control,
// is the same when the control has room to spare, and is as large as the
// text's own. The frames place their glyphs apart, so only their ink's
// place is checked here.
void ExpectNoGlyphCut(QWidget* root, const std::vector<const tk::Label*>& frames = {})
{
    for (const Text& t : TextsOf(root)) {
        const bool frame =
            std::ranges::any_of(frames, [&](const tk::Label* f) { return tk::AsWidget(f->NativeWidget()) == t.widget; });
        const QRect free = InkOf(t, true);
        const QRect shown = InkOf(t, false);
        const qreal ratio = t.widget->devicePixelRatioF();
        const QRect own = OwnInk(t.widget->font(), t.text, ratio);
        const QRect surface(QPoint(), t.widget->size() * ratio);
        // The width and height of ink may differ by a pixel with where the
        // text falls between pixels.
        const bool whole =
            frame || (std::abs(free.width() - own.width()) <= 1 && std::abs(free.height() - own.height()) <= 1);
        EXPECT_TRUE(whole && surface.contains(free) && shown == free)
            << t.text.toStdString() << ": ink " << free.x() << "," << free.y() << " " << free.width() << "x"
            << free.height() << " in " << surface.width() << "x" << surface.height();
    }
}

// The columns of an image row band that hold ink, as runs [first, last].
std::vector<std::pair<int, int>> InkRuns(const QImage& a, const QImage& b)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < a.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < a.height() && !ink; ++y)
            ink = a.pixel(x, y) != b.pixel(x, y);
        if (!ink)
            continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.emplace_back(x, x);
    }
    return runs;
}


struct FrameCase {
    const char* name;
    const tk::GroupBox* panel;
    tk::Label* frame;
    const tk::Label* first;
    const tk::Label* second;
    const char* caption;
};

// "（" ends just before the first box, "，" sits in the middle of the gap and
// "）" starts just after the second box, each whole and in maroon, with the
// boxes painted over the frame and the caption read back as designed.
void CheckFrame(const FrameCase& c)
{
    SCOPED_TRACE(c.name);
    QWidget* panel = tk::AsWidget(c.panel->NativeWidget());
    QLabel* native = static_cast<QLabel*>(tk::AsWidget(c.frame->NativeWidget()));
    EXPECT_EQ(c.frame->Caption(), c.caption);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(native);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), c.caption);

    // Only the frame's rows, so that nothing but its own glyphs changes;
    // in the screen's pixels.
    const qreal r = panel->devicePixelRatioF();
    const auto px = [r](int logical) { return qRound(logical * r); };
    const QRect rows(0, px(c.frame->Top()), px(panel->width()), px(c.frame->Height()));
    const QImage with = Render(panel, true).copy(rows);
    native->setText({});
    const QImage without = Render(panel, true).copy(rows);
    native->setText(QString::fromStdString(c.caption));
    const auto runs = InkRuns(with, without);
    ASSERT_EQ(runs.size(), 3u);

    const int firstLeft = px(c.first->Left()), firstRight = px(c.first->Left() + c.first->Width());
    const int secondLeft = px(c.second->Left()), secondRight = px(c.second->Left() + c.second->Width());
    const auto& [open, comma, close] = std::tie(runs[0], runs[1], runs[2]);
    EXPECT_GE(open.first, px(c.frame->Left()));
    EXPECT_LE(open.second, firstLeft - 2);
    EXPECT_GE(comma.first, firstRight + 1);
    EXPECT_LE(comma.second, secondLeft - 2);
    EXPECT_LE(std::abs((comma.first + comma.second + 1) - (firstRight + secondLeft)), px(2));
    EXPECT_GE(close.first, secondRight + 1);
    EXPECT_LE(close.second, px(c.frame->Left() + c.frame->Width()) - 1);

    // Whole: as wide as the glyph's own ink (give or take the pixel that a
    // fractional pixel ratio may add or take).
    const QFont font = native->font();
    const int slack = r == 1 ? 0 : 1;
    const auto expectWhole = [&](const std::pair<int, int>& run, const QString& glyph) {
        EXPECT_LE(std::abs(run.second - run.first + 1 - OwnInk(font, glyph, r).width()), slack)
            << glyph.toStdString();
    };
    expectWhole(open, QStringLiteral("（"));
    expectWhole(comma, QStringLiteral("，"));
    expectWhole(close, QStringLiteral("）"));
    for (const auto& [from, to] : runs) {
        bool maroon = false;
        for (int y = 0; y < with.height(); ++y)
            for (int x = from; x <= to; ++x)
                maroon = maroon || with.pixel(x, y) == Rgb(tk::clMaroon);
        EXPECT_TRUE(maroon) << from;
    }
}

TEST(PanelLook, ParenthesisFramesStandAroundTheirBoxes)
{
    JunsenWindow j;
    const entry::JunsenEntry& je = j.form.Entry;
    CheckFrame({"LblKakko", je.GroupBox2.get(), je.LblKakko.get(), je.LblXzahyo.get(), je.LblYzahyo.get(),
                "\uFF08\u3000 \u3000\uFF0C \u3000\u3000\uFF09"});
    // The keyed values sit on top of the frame.
    form_test::Click(*je.SbnXzahyo);
    j.Type("－ ８");
    CheckFrame({"LblKakko keyed", je.GroupBox2.get(), je.LblKakko.get(), je.LblXzahyo.get(),
                je.LblYzahyo.get(), "\uFF08\u3000 \u3000\uFF0C \u3000\u3000\uFF09"});
    j.form.Hide();

    SyotenWindow s;
    const entry::SyotenEntry& se = s.form.Entry;
    CheckFrame({"LblKakko1", se.GroupBox2.get(), se.LblKakko1.get(), se.LblX1Zahyo.get(), se.LblY1Zahyo.get(),
                "\uFF08\u3000   \u3000\uFF0C \u3000\u3000\uFF09"});
    CheckFrame({"LblKakko2", se.GroupBox2.get(), se.LblKakko2.get(), se.LblX2Zahyo.get(), se.LblY2Zahyo.get(),
                "\uFF08 \u3000  \u3000\uFF0C   \u3000\uFF09"});
    s.form.Hide();
}

// The frame's top line: the first row that is not the box's colour, looked
// for right of the caption.
int FrameLine(const QImage& box, tk::TColor face)
{
    const int x = box.width() - 20;
    for (int y = 0; y < box.height(); ++y)
        if (box.pixel(x, y) != Rgb(face))
            return y;
    return -1;
}

void CheckGroupBox(const tk::GroupBox& box, const char* name)
{
    SCOPED_TRACE(name);
    QWidget* native = tk::AsWidget(box.NativeWidget());
    const QImage image = Render(native);
    const qreal r = native->devicePixelRatioF();
    const auto px = [r](int logical) { return qRound(logical * r); };
    const int width = image.width(), height = image.height();
    const int line = FrameLine(image, tk::clMoneyGreen);
    ASSERT_GT(line, 0);
    EXPECT_LE(std::abs(line - px(box.FrameTop())), 1);

    // Etched: a shadow line with a highlight line inside it, on the top and
    // on the left.
    const int top = box.FrameTop();
    EXPECT_EQ(image.pixel(width - 20, px(top)), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(width - 20, px(top + 2) - 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, height / 2), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(px(2) - 1, height / 2), qRgb(255, 255, 255));

    // The caption stands on the line: its ink spans the line's rows, with
    // the line through the middle of its height, and the line does not run
    // through the caption's band.
    Text caption{native, static_cast<QGroupBox*>(native)->title(),
                 [native](const QString& s) { static_cast<QGroupBox*>(native)->setTitle(s); }, true,
                 kFrameLines};
    const QRect ink = InkOf(caption, false);
    EXPECT_LT(ink.top(), line);
    EXPECT_GT(ink.bottom(), px(top + 2));
    EXPECT_LE(std::abs(ink.top() + ink.bottom() - px(2 * top + 1)), px(3));
    EXPECT_LE(ink.left(), px(10));
    for (int x = ink.left(); x <= ink.right(); ++x)
        EXPECT_NE(image.pixel(x, line), qRgb(128, 128, 128)) << x;

    // Inside the frame everything but the caption is the box's colour, and
    // every child lies below the frame's top line.
    for (int y = px(top + 2); y < height - px(2); ++y)
        for (int x = px(2); x < width - px(2); ++x)
            if (!ink.contains(x, y) && image.pixel(x, y) != Rgb(tk::clMoneyGreen)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << image.pixel(x, y);
                return;
            }
    for (const QWidget* child : native->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_GE(child->y(), top + 2) << child->y();
}

TEST(PanelLook, GroupBoxesDrawTheirCaptionOnTheEtchedFrameAboveTheirControls)
{
    JunsenWindow j;
    CheckGroupBox(*j.form.Entry.GroupBox2, "junsen GroupBox2");
    CheckGroupBox(*j.form.Entry.Keypad.GroupBox1, "junsen GroupBox1");
    j.form.Hide();
    SyotenWindow s;
    CheckGroupBox(*s.form.Entry.GroupBox2, "syoten GroupBox2");
    CheckGroupBox(*s.form.Entry.Keypad.GroupBox1, "syoten GroupBox1");
    s.form.Hide();
}

TEST(PanelLook, NoControlOfTheThreeWindowsCutsItsGlyphs)
{
    {
        JunsenWindow j;
        const entry::JunsenEntry& e = j.form.Entry;
        j.form.BtnByoga->Show();
        for (const char* digit : {"１", "４", "８"}) {
            form_test::Click(*e.SbnLine);
            j.Type(std::string("Ｙ＝ － ") + digit);
            form_test::Click(*e.SbnXzahyo);
            j.Type(std::string("－ ") + digit);
            form_test::Click(*e.SbnYzahyo);
            j.Type(std::string("－ ") + digit);
            form_test::Click(*e.SbnHiPF);
            j.Type(std::string("√ ") + digit);
            form_test::Click(*e.SbnHiPH);
            j.Type(std::string("√ ") + digit);
            SCOPED_TRACE(digit);
            ExpectNoGlyphCut(tk::AsWidget(j.form.NativeWidget()), {e.LblKakko.get()});
        }
        // The equals sign is wider than its label: it overhangs evenly and
        // covers no other control, and the label keeps its bounds.
        const tk::Label& equals = *e.HiLbl;
        EXPECT_EQ((std::array{equals.Left(), equals.Top(), equals.Width(), equals.Height()}),
                  (std::array{133, 152, 20, 40}));
        const QRect surface = tk::AsWidget(equals.NativeWidget())->geometry();
        EXPECT_GT(surface.width(), 20);
        EXPECT_EQ(133 - surface.left(), surface.left() + surface.width() - (133 + 20));
        for (const QWidget* other : tk::AsWidget(e.GroupBox2->NativeWidget())->findChildren<QWidget*>()) {
            if (other != tk::AsWidget(equals.NativeWidget())) {
                EXPECT_FALSE(other->geometry().intersects(surface)) << other->x();
            }
        }
        j.form.Hide();
    }
    {
        SyotenWindow s;
        const entry::SyotenEntry& e = s.form.Entry;
        s.form.BtnByoga->Show();
        for (const char* digit : {"１", "４", "８"}) {
            for (const tk::SpeedButton* toggle : {e.SbnX1Zahyo.get(), e.SbnY1Zahyo.get(), e.SbnX2Zahyo.get(),
                                                  e.SbnY2Zahyo.get()}) {
                form_test::Click(*toggle);
                s.Type(std::string("－ √ ") + digit);
            }
            form_test::Click(*e.SbnKyori);
            s.Type(std::string("差＝ ") + digit + " " + digit);
            SCOPED_TRACE(digit);
            ExpectNoGlyphCut(tk::AsWidget(s.form.NativeWidget()), {e.LblKakko1.get(), e.LblKakko2.get()});
        }
        s.form.Hide();
    }
    app::TMenu2 menu;
    menu.Show();
    ExpectNoGlyphCut(tk::AsWidget(menu.NativeWidget()));
    menu.Hide();
}

// The box as the program raises it: modal, one plain OK, the title, the
// Japanese face large enough for a classroom, centred on the raising window.
TEST(MessageBoxLook, PlainOkInTheJapaneseFaceCentredOnTheRaisingWindow)
{
    JunsenWindow w;
    w.form.SetWindowState(tk::WindowState::Normal);
    // Off the screen's centre, and wholly on the screen at any pixel ratio.
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    w.form.SetLeft(desk.left() + desk.width() / 8);
    w.form.SetTop(desk.top() + desk.height() / 16);
    w.form.SetWidth(desk.width() * 3 / 4);
    w.form.SetHeight(desk.height() * 7 / 8);
    QApplication::processEvents();

    struct Seen {
        bool modal = false;
        std::string title, text, family;
        int textPixels = 0, buttonPixels = 0;
        bool linesUnbroken = false;
        std::vector<std::string> buttons;
        bool icons = false;
        QPoint centre;
    } seen;
    QTimer inspector;
    QObject::connect(&inspector, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen.modal = box->isModal();
        seen.title = box->windowTitle().toStdString();
        seen.text = box->text().toStdString();
        seen.icons = box->icon() != QMessageBox::NoIcon;
        for (const QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == box->text()) {
                seen.family = QFontInfo(label->font()).family().toStdString();
                seen.textPixels = QFontInfo(label->font()).pixelSize();
                const QFontMetrics metrics(label->font());
                const int longest = metrics.horizontalAdvance(box->text().section(u'\n', 1));
                seen.linesUnbroken = label->width() >= longest && label->height() < 3 * metrics.lineSpacing();
            }
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons.push_back(b->text().toStdString());
            seen.icons = seen.icons || !b->icon().isNull();
            seen.buttonPixels = QFontInfo(b->font()).pixelSize();
        }
        seen.centre = box->frameGeometry().center();
        box->buttons().front()->click();
    });
    inspector.start(10);
    const std::string diagonal = "２定点が斜めの場合の描画機能は本プログラムにはありません。\r\n"
                                 "２定点が水平または垂直の場合のみ描画機能は使用できます。";
    tk::ShowMessage(diagonal);
    inspector.stop();

    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.title, tk::Application::Instance().Title());
    EXPECT_EQ(seen.text, "２定点が斜めの場合の描画機能は本プログラムにはありません。\n"
                         "２定点が水平または垂直の場合のみ描画機能は使用できます。");
    EXPECT_TRUE(seen.linesUnbroken);
    EXPECT_EQ(seen.family, "IPAPGothic");
    EXPECT_GE(seen.textPixels, 16);
    EXPECT_GE(seen.buttonPixels, 16);
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(seen.icons);
    const QPoint owner = tk::AsWidget(w.form.NativeWidget())->frameGeometry().center();
    EXPECT_LE((seen.centre - owner).manhattanLength(), 2) << seen.centre.x() << "," << seen.centre.y();
}

// The design scale in force while it lives; the controls made meanwhile
// are laid out at it.
struct AtDesignScale {
    double saved = tk::DesignScale();
    explicit AtDesignScale(double scale) { tk::SetDesignScale(scale); }
    ~AtDesignScale() { tk::SetDesignScale(saved); }
    AtDesignScale(const AtDesignScale&) = delete;
    AtDesignScale& operator=(const AtDesignScale&) = delete;
};

// Every message the program can show, with its lines as the box shows them.
const std::vector<QString> kMessages{
    QStringLiteral("条件に誤りがあります\n再入力してください"),
    QStringLiteral("条件に誤りがあります。\n距離を再入力して下さい。"),
    QStringLiteral("２定点が斜めの場合の描画機能は本プログラムにはありません。\n"
                   "２定点が水平または垂直の場合のみ描画機能は使用できます。"),
};

// The bands of rows that hold ink in the rectangle, each with the
// columns its ink spans: one band a line of text.
std::vector<QRect> InkBands(const QImage& image, const QRect& area, QRgb background)
{
    std::vector<QRect> bands;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRect row;
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                row |= QRect(x, y, 1, 1);
        if (row.isEmpty())
            inBand = false;
        else if (inBand)
            bands.back() |= row;
        else
            bands.push_back(row), inBand = true;
    }
    return bands;
}

// Lines set so small that no blank row parts them (a box shrunk with the
// design) come as one band: the tallest band is parted at its row of least
// ink near its middle until there are as many bands as lines.
std::vector<QRect> SplitTouchingLines(const QImage& image, std::vector<QRect> bands, QRgb background, qsizetype lines)
{
    while (!bands.empty() && static_cast<qsizetype>(bands.size()) < lines) {
        const auto tallest = std::max_element(bands.begin(), bands.end(),
                                              [](const QRect& a, const QRect& b) { return a.height() < b.height(); });
        const QRect band = *tallest;
        if (band.height() < 4)
            break;
        int split = band.top() + band.height() / 2;
        int least = band.width() + 1;
        for (int y = band.top() + band.height() / 3; y <= band.top() + 2 * band.height() / 3; ++y) {
            int ink = 0;
            for (int x = band.left(); x <= band.right(); ++x)
                ink += image.pixel(x, y) != background ? 1 : 0;
            if (ink < least)
                least = ink, split = y;
        }
        std::vector<QRect> parts = InkBands(image, QRect(band.topLeft(), QPoint(band.right(), split - 1)), background);
        const std::vector<QRect> rest = InkBands(image, QRect(QPoint(band.left(), split), band.bottomRight()), background);
        parts.insert(parts.end(), rest.begin(), rest.end());
        const auto at = bands.erase(tallest);
        bands.insert(at, parts.begin(), parts.end());
    }
    return bands;
}

// How wide the ink of a line is, set alone in the font at the ratio.
int LineInkWidth(const QFont& font, const QString& line, qreal ratio)
{
    const QSize size(QFontMetrics(font).horizontalAdvance(line) + 100, QFontMetrics(font).height() + 100);
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    const QImage blank = image;
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QPointF(50, 50 + QFontMetrics(font).ascent()), line);
    painter.end();
    return Changed(image, blank).width();
}

// A box for each message, at design scales from below to well above 1:
// every line shows whole on one line of its own, in the order written, and
// the whole box lies on the screen. On a screen too small for the box at
// that scale the text is set smaller, its lines still whole.
TEST(MessageBoxLook, EveryMessageShowsItsLinesWholeOnTheScreenAtEveryScale)
{
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    for (const double scale : {0.75, 1.0, 1.5, 2.0, 2.8125, 3.5}) {
        const AtDesignScale at(scale);
        for (const QString& message : kMessages) {
            SCOPED_TRACE(testing::Message() << "design scale " << tk::DesignScale() << ", "
                                            << message.section(u'\n', 0, 0).toStdString());
            const auto box = tk::MakeMessageBox(QStringLiteral("Orvalis"), message, nullptr);
            box->show();
            QApplication::processEvents();
            QApplication::processEvents();
            EXPECT_TRUE(desk.contains(box->frameGeometry()))
                << box->frameGeometry().width() << "x" << box->frameGeometry().height() << " on "
                << desk.width() << "x" << desk.height();

            const QLabel* label = nullptr;
            for (const QLabel* l : box->findChildren<QLabel*>())
                if (l->text() == message)
                    label = l;
            ASSERT_NE(label, nullptr);
            const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const qreal ratio = box->devicePixelRatioF();
            // The text's part of the box: above the button, inside the edge.
            const QAbstractButton* ok = box->buttons().front();
            const int okTop = ok->mapTo(box.get(), QPoint()).y();
            const QRect text(QPoint(1, 1), QPoint(shown.width() - 2, qFloor(okTop * ratio) - 2));
            const QRgb background = shown.pixel(1, 1);
            const QStringList lines = message.split(u'\n');
            const std::vector<QRect> bands =
                SplitTouchingLines(shown, InkBands(shown, text, background), background, lines.size());
            ASSERT_EQ(bands.size(), static_cast<std::size_t>(lines.size())) << "lines shown";
            for (int i = 0; i < lines.size(); ++i) {
                const int own = LineInkWidth(label->font(), lines[i], ratio);
                EXPECT_LE(std::abs(bands[i].width() - own), ratio == 1 ? 1 : 2)
                    << "line " << i + 1 << " shows " << bands[i].width() << " of its " << own << " pixels";
                EXPECT_GT(bands[i].left(), text.left()) << "line " << i + 1 << " touches the box's left edge";
                EXPECT_LT(bands[i].right(), text.right()) << "line " << i + 1 << " touches the box's right edge";
            }
            box->hide();
        }
    }
}

// The bold captions are set in the substitute of their own face, "ＭＳ 明朝",
// which has no bold: their ink is that of IPAMincho struck twice one pixel
// apart, as the designed platform emboldens, not that of a Gothic face (the
// font engine's own made-up bold of IPAMincho is all but IPAGothic's).
TEST(CaptionFace, BoldCaptionsAreTheMinchoSubstituteEmboldened)
{
    JunsenWindow j;
    j.form.BtnByoga->Show();
    SyotenWindow s;
    s.form.BtnByoga->Show();
    const std::set<std::string> seen =
        look_check::ExpectBoldCaptionsInMinchoStruckTwice({tk::AsWidget(j.form.NativeWidget()), tk::AsWidget(s.form.NativeWidget())});
    EXPECT_EQ(seen, (std::set<std::string>{"決定", "取消", "再試行", "終わる", "条件を満たすグラフを描く"}));
    j.form.Hide();
    s.form.Hide();
}

// The focus frame keeps its dotted look and is as thick on the screen as a
// design pixel: one device pixel at design scale 1, two at 2, three at 3,
// with dots as long as they are thick and gaps of twice that.
TEST(FocusFrameLook, DotsAreOneDesignPixelThickAtEveryDesignScale)
{
    for (const double scale : {1.0, 2.0, 3.0}) {
        SCOPED_TRACE(testing::Message() << "design scale " << scale);
        const AtDesignScale at(scale);
        tk::Form form;
        form.SetWidth(300);
        form.SetHeight(120);
        tk::Button button(form, "決定");
        button.SetBounds(10, 10, 80, 40);
        tk::ScrollBar bar(form);
        bar.SetBounds(10, 70, 250, 17);
        form.Show();
        QApplication::processEvents();
        const qreal ratio = tk::AsWidget(form.NativeWidget())->devicePixelRatioF();
        const int device = std::max(1, qRound(scale * ratio));
        for (QWidget* w : {tk::AsWidget(button.NativeWidget()), tk::AsWidget(bar.NativeWidget())})
            look_check::ExpectDottedFocusFrame(w, device);
        form.Hide();
    }
}

} // namespace
