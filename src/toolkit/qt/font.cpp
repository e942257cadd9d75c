#include "toolkit/font.h"
#include "native.h"

#include "toolkit/design_scale.h"
#include "qtbridge.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QTransform>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

QFont ToQFont(const Font& font, double scale)
{
    QFont f(ToQString(font.name));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height * scale))));
    f.setBold(font.bold);
    return f;
}

void SetTextColor(QWidget* widget, TColor color)
{
    QPalette palette = widget->palette();
    const QColor c = ToQColor(color);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, c);
        palette.setColor(group, QPalette::ButtonText, c);
        palette.setColor(group, QPalette::Text, c);
    }
    widget->setPalette(palette);
}

namespace {

// Whether the font's bold is made up by the font engine: its face has no
// bold of its own.
bool SynthesisedBold(const QFont& font)
{
    if (font.weight() < QFont::Bold)
        return false;
    static QHash<QString, bool> synthesised;
    const QString family = QFontInfo(font).family();
    const auto it = synthesised.constFind(family);
    if (it != synthesised.constEnd())
        return *it;
    bool made = true;
    for (const QString& style : QFontDatabase::styles(family))
        made = made && QFontDatabase::weight(family, style) < QFont::Bold;
    synthesised.insert(family, made);
    return made;
}

// The application's style, with captions in a face that has no bold of its
// own emboldened as the designed platform does: the regular glyphs struck
// twice, the second time one design pixel to the right. That thickens the
// vertical strokes and keeps the face's own look; the font engine's made-up
// bold thickens every stroke alike, and a Mincho drawn so looks like a
// Gothic. The caption is set at the device's size, in device pixels, so
// that it is as sharp and as bold at every scale.
class CaptionStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& pal, bool enabled,
                      const QString& text, QPalette::ColorRole textRole) const override
    {
        const QTransform device = painter->deviceTransform();
        const double scale = device.m11();
        if (text.isEmpty() || device.type() > QTransform::TxScale || device.m22() != scale || scale <= 0 ||
            !SynthesisedBold(painter->font())) {
            QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
            return;
        }
        QFont font = painter->font();
        font.setPixelSize(qMax(1, qRound(QFontInfo(font).pixelSize() * scale)));
        font.setBold(false);
        const int overstrike = DesignStroke(scale);
        // Undo the transform below the world transform, so that the painter
        // draws in device pixels. The two strikes together are as wide as
        // the text and the overstrike, and are aligned as one.
        const QTransform rest = painter->worldTransform().inverted() * device;
        const QRect area = device.mapRect(QRectF(rect)).toRect().adjusted(0, 0, -overstrike, 0);
        painter->save();
        painter->setWorldTransform(rest.inverted());
        painter->setFont(font);
        for (const int dx : {0, overstrike})
            QProxyStyle::drawItemText(painter, area.translated(dx, 0), flags, pal, enabled, text, textRole);
        painter->restore();
    }
};

} // namespace

void RegisterFontSubstitutes()
{
    // Debian's IPA faces are metrically close to the faces the windows were
    // designed with; where the original faces are installed they win.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    // The IPA faces have no bold: the captions that ask for it are struck
    // twice, at the device's size.
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setStyle(new CaptionStyle(app->style()->name()));
}

} // namespace tk
