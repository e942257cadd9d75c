#pragma once

// The interface names a control's widget only as an opaque NativeView; in
// this backend it is a QWidget.

#include "toolkit/control.h"

#include <QWidget>

namespace tk {

inline QWidget* AsWidget(NativeView* view) { return reinterpret_cast<QWidget*>(view); }
inline NativeView* AsView(QWidget* widget) { return reinterpret_cast<NativeView*>(widget); }

} // namespace tk
