#include "toolkit/font.h"

namespace tk {

int PointsToPixels(int points)
{
    // Character height at 96 dots per inch, rounded half up as the designer did.
    return (points * 96 + 36) / 72;
}

} // namespace tk
