// The smallest Qt Widgets program with a window like the menu's: 250 x 250 at
// the top-left corner, titled "Orvalis", with the same style and the same
// font substitutions, and nothing in it. Start-up time and peak memory of
// the program are measured against it.

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Orvalis"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    window.setFont(font);
    window.setGeometry(0, 0, 250, 250);
    window.show();
    return QApplication::exec();
}
