#pragma once

// Closes the program's real message boxes as a student does, after a delay,
// with Return, Escape, Space or a click on OK, and watches how many are open
// at once and whether one was raised by the closing of another. The key
// that closes a box goes down in the box; its release, as on a desktop,
// reaches whatever has the focus once the box is gone.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace box_test {

enum class CloseBy { Return, Escape, Space, Mouse };

class BoxCloser {
public:
    // How the n-th box (from 0) is closed and after how many milliseconds.
    using Plan = std::function<std::pair<CloseBy, int>(int n)>;

    explicit BoxCloser(Plan plan) : plan_(std::move(plan))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(5);
    }
    BoxCloser() : BoxCloser([](int) { return std::pair{CloseBy::Mouse, 0}; }) {}

    std::vector<std::string> texts;  // of every box, in order
    int mostOpen = 0;                // boxes open at the same time, at most
    bool raisedByClosing = false;    // a box came up from the release that closed another

    static std::vector<QMessageBox*> OpenBoxes()
    {
        std::vector<QMessageBox*> boxes;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                boxes.push_back(box);
        return boxes;
    }

    // Where the keyboard's events go now.
    static QWidget* FocusOrWindow()
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : QApplication::activeWindow();
    }

private:
    using Clock = std::chrono::steady_clock;

    void Tick()
    {
        const auto boxes = OpenBoxes();
        mostOpen = std::max(mostOpen, static_cast<int>(boxes.size()));
        for (QMessageBox* box : boxes) {
            if (seen_.insert(box).second) {
                texts.push_back(box->text().toStdString());
                openedAt_ = Clock::now();
                if (releasing_)
                    raisedByClosing = true;
            }
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || closing_)
            return;
        const auto [by, delayMs] = plan_(static_cast<int>(texts.size()) - 1);
        if (Clock::now() - openedAt_ < std::chrono::milliseconds(delayMs))
            return;
        closing_ = true;
        QPushButton* ok = box->findChild<QPushButton*>();
        switch (by) {
        case CloseBy::Return:
        case CloseBy::Escape: {
            const Qt::Key key = by == CloseBy::Return ? Qt::Key_Return : Qt::Key_Escape;
            QTest::keyPress(box, key);
            // The release comes after the box has gone, to the focus.
            QTimer::singleShot(0, [this, key] {
                if (QWidget* focus = FocusOrWindow()) {
                    releasing_ = true;
                    QTest::keyRelease(focus, key);
                    releasing_ = false;
                }
            });
            break;
        }
        case CloseBy::Space:
            if (ok)
                QTest::keyClick(ok, Qt::Key_Space);
            break;
        case CloseBy::Mouse:
            if (ok)
                QTest::mouseClick(ok, Qt::LeftButton);
            break;
        }
        if (box->isVisible())
            box->accept();  // a box the keys could not close
        seen_.erase(box);
        closing_ = false;
    }

    Plan plan_;
    QTimer timer_;
    std::set<QMessageBox*> seen_;
    Clock::time_point openedAt_;
    bool closing_ = false;
    bool releasing_ = false;
};

} // namespace box_test
