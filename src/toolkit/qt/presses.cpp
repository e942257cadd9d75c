#include "presses.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QWidget>

namespace tk {

QEvent::Type CancelPressEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CancelPresses(QWidget* window)
{
    if (QWidget* grabber = QWidget::mouseGrabber(); grabber && grabber->window() == window)
        grabber->releaseMouse();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isDown())
            button->setDown(false);
        QEvent cancel(CancelPressEvent());
        QCoreApplication::sendEvent(w, &cancel);
    }
}

} // namespace tk
