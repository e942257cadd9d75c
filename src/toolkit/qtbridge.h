#pragma once

// Conversions at the boundary between the toolkit and Qt; only toolkit
// sources include this.

#include "color.h"
#include "font.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

namespace tk {

inline QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline TColor FromQRgb(unsigned rgb)
{
    return RGB(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
               static_cast<int>(rgb & 0xFF));
}
inline QString ToQString(const std::string& s) { return QString::fromStdString(s); }
inline std::string FromQString(const QString& s) { return s.toStdString(); }
QFont ToQFont(const Font& font);
// Sets the palette roles that carry a control's text colour.
void SetTextColor(class QWidget* widget, TColor color);
// Registers the installed faces that stand in for the designed ones, and
// has captions in their made-up bold keep its weight at every scale (this
// wraps the application's style: call it after the style is chosen).
void RegisterFontSubstitutes();

} // namespace tk
