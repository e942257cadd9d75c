#include "line_stamps.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>

namespace tk {

namespace {
constexpr std::size_t kSide = 2 * LineStamps::kReach + 1;
constexpr int kMargin = LineStamps::kReach + LineStamps::kMaxWidth + 3;
constexpr int kScratch = 2 * kMargin + 1;
} // namespace

bool LineStamps::Find(int width, int dx, int dy, Stamp& stamp)
{
    if (width < kMinWidth || width > kMaxWidth || std::abs(dx) > kReach || std::abs(dy) > kReach)
        return false;
    std::vector<Entry>& table = tables_[width - kMinWidth];
    if (table.empty())
        table.resize(kSide * kSide);
    Entry& e = table[static_cast<std::size_t>(dy + kReach) * kSide + static_cast<std::size_t>(dx + kReach)];
    if (!e.made)
        Make(e, width, dx, dy);
    if (!e.usable)
        return false;
    stamp.top = e.top;
    stamp.rows = rows_.data() + e.offset;
    stamp.count = e.count;
    return true;
}

void LineStamps::Make(Entry& e, int width, int dx, int dy)
{
    e.made = true;
    QImage scratch(kScratch, kScratch, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QLineF(kMargin, kMargin, kMargin + dx, kMargin + dy));
    }
    const std::size_t start = rows_.size();
    bool ended = false;
    for (int y = 0; y < kScratch; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        int lo = -1, hi = -1, count = 0;
        for (int x = 0; x < kScratch; ++x) {
            if (qRed(line[x]) == 0) {
                if (lo < 0)
                    lo = x;
                hi = x;
                ++count;
            }
        }
        if (count == 0) {
            ended = rows_.size() > start;
            continue;
        }
        // A gap within a row or between rows, or a shape touching the
        // scratch image's edge, is left to QPainter.
        if (ended || count != hi - lo + 1 || lo == 0 || hi == kScratch - 1) {
            rows_.resize(start);
            return;
        }
        if (rows_.size() == start)
            e.top = static_cast<std::int16_t>(y - kMargin);
        rows_.push_back({static_cast<std::int16_t>(lo - kMargin), static_cast<std::int16_t>(hi - kMargin)});
    }
    e.count = static_cast<std::int16_t>(rows_.size() - start);
    e.offset = static_cast<std::int32_t>(start);
    e.usable = e.count > 0;
}

LineStamps& Stamps()
{
    static LineStamps stamps;
    return stamps;
}

} // namespace tk
