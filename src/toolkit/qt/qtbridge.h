#pragma once

// Conversions at the boundary between the toolkit and Qt; only toolkit
// sources include this.

#include "toolkit/color.h"
#include "toolkit/font.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

namespace tk {

inline QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline QString ToQString(const std::string& s) { return QString::fromStdString(s); }
inline std::string FromQString(const QString& s) { return s.toStdString(); }
// The font at its design height times scale (a control's font on the
// screen); the canvases draw in design pixels and take it at scale 1.
QFont ToQFont(const Font& font, double scale = 1.0);
// Sets the palette roles that carry a control's text colour.
void SetTextColor(class QWidget* widget, TColor color);
// Draws the dotted focus frame of a focused control `inset` design pixels
// inside its edge, one design pixel thick (nothing when it does not have the
// focus); called at the end of its paint.
void DrawFocusFrame(class QWidget* widget, int inset);
// The event a form sends to every widget in it, parents before children,
// just before its window is shown: controls give their widgets the faces
// they were set to then, so that a face is opened and read only once a
// window that shows it appears.
int WindowShowingEvent();
// The control that steers the widget, if any.
class Control* ControlOf(const class QWidget* widget);
// Registers the installed faces that stand in for the designed ones, and
// has captions in a face without bold struck twice one design pixel apart,
// at every scale (this wraps the application's style: call it after the
// style is chosen).
void RegisterFontSubstitutes();

} // namespace tk
