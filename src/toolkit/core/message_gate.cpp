#include "message_gate.h"

#include "presses.h"

namespace tk::core {

bool MessageGate::Raise(const std::string& title, const std::string& text, std::function<void()> then)
{
    if (open_)
        return false;
    open_ = true;
    then_ = std::move(then);
    if (handler_) {
        // Closed even when the handler throws, so that a failing test does
        // not leave every later box blocked.
        struct Closer {
            MessageGate& gate;
            ~Closer()
            {
                if (gate.open_)
                    gate.Closed();
            }
        } closer{*this};
        handler_(title, text);
        return true;
    }
    // The box takes the mouse and the keyboard: whatever was held in the
    // windows behind it ends now, without effect.
    CancelPresses();
    port_.ShowBox(title, text);
    return true;
}

void MessageGate::Closed()
{
    if (!open_)
        return;
    open_ = false;
    if (auto then = std::move(then_)) {
        then_ = nullptr;
        then();
    }
}

} // namespace tk::core
