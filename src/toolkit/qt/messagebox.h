#pragma once

// The look of the program's message box; only the toolkit includes this.

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace tk {

// A modal box with the text (a "\n" breaks the line), one plain "OK"
// button without an icon and the given title, in the program's Japanese
// face at a size a classroom can read, centred on the owner's window when
// it is shown (on the screen when there is no owner).
std::unique_ptr<QMessageBox> MakeMessageBox(const QString& title, const QString& text, QWidget* owner);

} // namespace tk
