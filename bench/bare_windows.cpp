// A bare Qt program that shows the program's three windows as plain widgets:
// the 250 x 250 menu "Orvalis" with its three buttons, and the two activity
// windows (1024 x 768, the second maximized) with the light green
// background, a 660 x 660 plane that paints a white square and its 146 grid
// lines straight from paintEvent, and the retry and end buttons, the end
// button hiding the window. No retained images, no condition panels. Peak
// memory of the program after a whole use is compared with it.

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QWidget>

namespace {

class PlainPlane : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        for (int i = -36; i <= 36; ++i) {
            const int at = 330 + i * 660 / 72;
            p.setPen(i == 0 ? Qt::black : QColor(0xC0, 0xC0, 0xC0));
            p.drawLine(at, 0, at, 660);
            p.drawLine(0, at, 660, at);
        }
    }
};

QWidget* Activity(const QString& title, bool maximized)
{
    auto* w = new QWidget;
    w->setWindowTitle(title);
    w->setGeometry(0, 0, 1024, 768);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xDC, 0xC0));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
    (new PlainPlane(w))->setGeometry(8, 29, 660, 660);
    (new QPushButton(QStringLiteral("再試行"), w))->setGeometry(931, 576, 86, 51);
    auto* end = new QPushButton(QStringLiteral("終わる"), w);
    end->setGeometry(931, 640, 86, 51);
    QObject::connect(end, &QPushButton::clicked, w, &QWidget::hide);
    w->setProperty("maximized", maximized);
    return w;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QWidget menu;
    menu.setWindowTitle(QStringLiteral("Orvalis"));
    menu.setGeometry(0, 0, 250, 250);
    QWidget* first = Activity(QStringLiteral("Orvalis（準線と焦点）"), false);
    QWidget* second = Activity(QStringLiteral("Orvalis（２つの焦点）"), true);
    const auto opener = [&menu](const QString& caption, int top, QWidget* window) {
        auto* b = new QPushButton(caption, &menu);
        b->setGeometry(16, top, 209, 49);
        QObject::connect(b, &QPushButton::clicked, window, [window] {
            if (window->property("maximized").toBool())
                window->showMaximized();
            else
                window->show();
        });
    };
    opener(QStringLiteral("定点と定直線との距離の比"), 8, first);
    opener(QStringLiteral("２つの定点との距離の和と差"), 72, second);
    auto* quit = new QPushButton(QStringLiteral("終　　了"), &menu);
    quit->setGeometry(16, 136, 209, 49);
    QObject::connect(quit, &QPushButton::clicked, &app, &QApplication::quit);
    menu.show();
    const int rc = QApplication::exec();
    delete first;
    delete second;
    return rc;
}
