#pragma once

#include <cstdint>
#include <vector>

namespace tk {

// The pixels Qt's aliased rasteriser gives a short line of a wide
// round-capped pen, as row spans relative to the line's start. Aliased
// rasterisation between whole pixel coordinates does not depend on where a
// line lies, only on its vector and width, so each is drawn once through
// QPainter and then stamped wherever a line has it; a curve drawn in short
// steps repeats the same few vectors thousands of times.
class LineStamps {
public:
    static constexpr int kMinWidth = 2;
    static constexpr int kMaxWidth = 8;
    static constexpr int kReach = 40;  // the largest |dx| and |dy| stamped

    struct Row {
        std::int16_t first, last;
    };
    // Rows from `top` down; valid until the next Find.
    struct Stamp {
        int top = 0;
        const Row* rows = nullptr;
        int count = 0;
    };

    // The stamp of the line (0, 0) -> (dx, dy) in a pen of the given width;
    // false when none is kept (out of range, or a shape that is not one
    // span a row).
    bool Find(int width, int dx, int dy, Stamp& stamp);

private:
    struct Entry {
        bool made = false;
        bool usable = false;
        std::int16_t top = 0;
        std::int16_t count = 0;
        std::int32_t offset = 0;
    };
    void Make(Entry& e, int width, int dx, int dy);

    // One table a width, made when the width is first used.
    std::vector<Entry> tables_[kMaxWidth - kMinWidth + 1];
    std::vector<Row> rows_;
};

// The stamps every canvas shares.
LineStamps& Stamps();

} // namespace tk
