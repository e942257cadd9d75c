#pragma once

#include <functional>
#include <string>

namespace tk::core {

// What a platform does for a message box: shows a modal box with the title,
// the text (a CR LF breaks the line) and one OK button, and calls
// MessageGate::Closed when the user closes it, from inside ShowBox where the
// platform can wait for it, or later where it cannot.
class MessageBoxPort {
public:
    virtual void ShowBox(const std::string& title, const std::string& text) = 0;

protected:
    ~MessageBoxPort() = default;
};

// At most one message box at a time. A box raised while one is open (a
// repaint inside the first, say) is not raised at all. A real box ends every
// press in progress before it appears; a handler put in its place (tests)
// reads the text and returns as if OK had been pressed.
class MessageGate {
public:
    using Handler = std::function<void(const std::string& title, const std::string& text)>;

    explicit MessageGate(MessageBoxPort& port) : port_(port) {}

    // Raises the box; `then` runs once it is closed (not at all when the box
    // is not raised). False when a box was already open.
    bool Raise(const std::string& title, const std::string& text, std::function<void()> then = {});
    // The platform's box was closed.
    void Closed();
    bool Open() const { return open_; }
    // Whoever raised the open box is going (a window destroyed while a page
    // shows its box): what was to follow the box will not run.
    void Forget() { then_ = nullptr; }

    // An empty handler restores the real box.
    void SetHandler(Handler handler) { handler_ = std::move(handler); }

private:
    MessageBoxPort& port_;
    Handler handler_;
    std::function<void()> then_;
    bool open_ = false;
};

} // namespace tk::core
