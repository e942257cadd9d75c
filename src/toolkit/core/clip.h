#pragma once

namespace tk {

// Cuts the segment (x0, y0) - (x1, y1) to the square band [lo, hiX] x
// [lo, hiY] (Liang-Barsky), a cut end placed on its edge; false when
// nothing of it lies inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY);

} // namespace tk
