#include "messagebox.h"

#include "design_scale.h"
#include "qtbridge.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace tk {

namespace {

const Font kMessageFont{"ＭＳ Ｐゴシック", 16, clWindowText, false};

// Centres itself on its owner's window each time it is shown; the style's
// own placement would leave it wherever the window system puts dialogs.
class MessageBoxWidget : public QMessageBox {
public:
    MessageBoxWidget(const QString& title, const QString& text, QWidget* owner)
        : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, owner)
    {
        setTextFormat(Qt::PlainText);
        setFont(ToQFont(kMessageFont, DesignScale()));
        // Each line of the text stays one line, as the program wrote it; the
        // style would otherwise break lines longer than half the screen.
        const QFontMetrics metrics(font());
        int widest = 0;
        for (const QString& line : text.split(u'\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        for (QLabel* label : findChildren<QLabel*>())
            if (label->text() == text)
                label->setMinimumWidth(widest + 1);
        // A button of our own: the style's standard OK carries an icon.
        QPushButton* ok = addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        ok->setIcon({});
        setDefaultButton(ok);
        setEscapeButton(ok);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect desk = screen ? screen->availableGeometry() : QRect();
        const QRect around = owner ? owner->frameGeometry() : desk;
        const QSize size = frameGeometry().size();
        QPoint at = around.center() - QPoint(size.width() / 2, size.height() / 2);
        // Kept on the screen, its top-left corner first.
        if (desk.isValid()) {
            at.setX(std::max(desk.left(), std::min(at.x(), desk.right() + 1 - size.width())));
            at.setY(std::max(desk.top(), std::min(at.y(), desk.bottom() + 1 - size.height())));
        }
        move(at);
    }
};

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& title, const QString& text, QWidget* owner)
{
    return std::make_unique<MessageBoxWidget>(title, text, owner);
}

} // namespace tk
