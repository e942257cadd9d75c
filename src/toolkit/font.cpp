#include "font.h"

#include "qtbridge.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

int PointsToPixels(int points)
{
    // Character height at 96 dots per inch, rounded half up as the designer did.
    return (points * 96 + 36) / 72;
}

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

void RegisterFontSubstitutes()
{
    // Debian's IPA faces are metrically close to the faces the windows were
    // designed with; where the original faces are installed they win.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
}

} // namespace tk
