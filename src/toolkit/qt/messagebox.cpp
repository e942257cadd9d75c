#include "messagebox.h"

#include "toolkit/design_scale.h"
#include "native.h"
#include "qtbridge.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace tk {

namespace {

const Font kMessageFont{"ＭＳ Ｐゴシック", 16, clWindowText, false};

// Centres itself on its owner's window each time it is shown; the style's
// own placement would leave it wherever the window system puts dialogs.
// It is always as large as its lines need, and no larger than the screen.
class MessageBoxWidget : public QMessageBox {
public:
    MessageBoxWidget(const QString& title, const QString& text, QWidget* owner)
        : QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, owner)
    {
        setTextFormat(Qt::PlainText);
        setFont(ToQFont(kMessageFont, DesignScale()));
        for (QLabel* label : findChildren<QLabel*>())
            if (label->text() == text)
                label_ = label;
        KeepLinesWhole();
        // A button of our own: the style's standard OK carries an icon.
        QPushButton* ok = addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        ok->setIcon({});
        setDefaultButton(ok);
        setEscapeButton(ok);
    }

protected:
    bool event(QEvent* event) override
    {
        const bool handled = QMessageBox::event(event);
        // QMessageBox sizes itself again on every layout request, never
        // wider than 1000 pixels: the box grows back to what its lines need.
        if (event->type() == QEvent::LayoutRequest && isVisible())
            FitContents();
        return handled;
    }

    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect desk = screen ? screen->availableGeometry() : QRect();
        FitContents();
        if (desk.isValid())
            FitScreen(desk.size());
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

private:
    // Each line of the text stays one line, as the program wrote it; the
    // style would otherwise break lines longer than half the screen.
    void KeepLinesWhole()
    {
        if (!label_)
            return;
        const QFontMetrics metrics(label_->font());
        int widest = 0;
        for (const QString& line : text().split(u'\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        label_->setMinimumWidth(widest + 1);
    }

    // The size the layout needs at its widest line, never less than what
    // QMessageBox chose.
    void FitContents()
    {
        QLayout* box = layout();
        if (!box)
            return;
        box->activate();
        const int width = std::max(box->totalMinimumSize().width(), this->width());
        const int needed = box->hasHeightForWidth() ? box->totalHeightForWidth(width) : box->totalMinimumSize().height();
        const QSize fit(width, std::max(needed, box->totalMinimumSize().height()));
        if (fit != size() || minimumSize() != fit || maximumSize() != fit)
            setFixedSize(fit);
    }

    // A box wider or taller than the screen (a large scaling on a small
    // screen) sets its text smaller until it fits, its lines still whole.
    void FitScreen(const QSize& desk)
    {
        const QSize frame = frameGeometry().size() - size();
        for (int attempt = 0; attempt < 8; ++attempt) {
            const QSize outer = size() + frame;
            if (outer.width() <= desk.width() && outer.height() <= desk.height())
                return;
            const double shrink = std::min(static_cast<double>(desk.width()) / outer.width(),
                                           static_cast<double>(desk.height()) / outer.height());
            QFont smaller = font();
            const int pixels = QFontInfo(smaller).pixelSize();
            const int next = std::min(pixels - 1, static_cast<int>(std::floor(pixels * shrink)));
            if (next < 1)
                return;
            smaller.setPixelSize(next);
            setFont(smaller);
            KeepLinesWhole();
            // Let QMessageBox size itself for the new font first.
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            adjustSize();
            FitContents();
        }
    }

    QLabel* label_ = nullptr;
};

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& title, const QString& text, QWidget* owner)
{
    return std::make_unique<MessageBoxWidget>(title, text, owner);
}

} // namespace tk
