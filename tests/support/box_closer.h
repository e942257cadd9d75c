#pragma once

// Closes the program's real message boxes as a student does, after a delay,
// with Return, Escape, Space or a click on OK, and watches how many are open
// at once and whether one was raised by the closing of another. The key
// that closes a box goes down in the box; its release, as on a desktop,
// reaches whatever has the focus once the box is gone.

#include "toolkit/driver.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace box_test {

using tk::drive::CloseBy;

class BoxCloser {
public:
    // How the n-th box (from 0) is closed and after how many milliseconds.
    using Plan = std::function<std::pair<CloseBy, int>(int n)>;

    explicit BoxCloser(Plan plan) : plan_(std::move(plan)), ticker_(5, [this] { Tick(); }) {}
    BoxCloser() : BoxCloser([](int) { return std::pair{CloseBy::Mouse, 0}; }) {}
    ~BoxCloser() { *alive_ = false; }
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    std::vector<std::string> texts;  // of every box, in order
    int mostOpen = 0;                // boxes open at the same time, at most
    bool raisedByClosing = false;    // a box came up from the release that closed another

private:
    using Clock = std::chrono::steady_clock;

    void Tick()
    {
        const auto boxes = tk::drive::OpenBoxes();
        mostOpen = std::max(mostOpen, static_cast<int>(boxes.size()));
        for (const tk::drive::Box& box : boxes) {
            if (seen_.insert(box.id).second) {
                texts.push_back(box.text);
                openedAt_ = Clock::now();
                if (releasing_)
                    raisedByClosing = true;
            }
        }
        const auto box = tk::drive::ModalBox();
        if (!box || closing_)
            return;
        const auto [by, delayMs] = plan_(static_cast<int>(texts.size()) - 1);
        if (Clock::now() - openedAt_ < std::chrono::milliseconds(delayMs))
            return;
        closing_ = true;
        const bool closed = tk::drive::CloseBox(by);
        if (by == CloseBy::Return || by == CloseBy::Escape) {
            const tk::drive::Key key = by == CloseBy::Return ? tk::drive::Key::Return : tk::drive::Key::Escape;
            // The release comes after the box has gone, to the focus.
            tk::drive::Later([this, key, alive = alive_] {
                if (!*alive)
                    return;
                releasing_ = true;
                tk::drive::KeyRelease(key);
                releasing_ = false;
            });
        }
        if (!closed)
            tk::drive::AcceptBox();  // a box the keys could not close
        seen_.erase(box->id);
        closing_ = false;
    }

    Plan plan_;
    std::set<const void*> seen_;
    Clock::time_point openedAt_;
    bool closing_ = false;
    bool releasing_ = false;
    // Whether the closer still lives when a release it left comes due.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    tk::drive::Ticker ticker_;
};

} // namespace box_test
