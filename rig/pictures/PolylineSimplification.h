// Fewer points for a drawn line, none of them moved: the traced outlines
// come with 256 points each, most of them on runs so straight that no
// screen could show the difference, and a 512-projector picture would
// otherwise carry megabytes of them.
#pragma once

#include <cstddef>
#include <vector>

namespace rig {

// The indices, ascending, of the points of the polyline (xs[i], ys[i]) to
// keep so that no dropped point lies farther than `tolerance` (pixels) from
// the line drawn through the kept ones (Douglas-Peucker: the farthest point
// of each stretch splits it until every stretch is within the tolerance).
// The first and last points are always kept, so a closed outline stays
// closed. A polyline holding a non-finite coordinate is kept whole: there
// is no distance to judge it by. Work is bounded by the square of the point
// count in the worst case, n log n on the traced outlines.
std::vector<std::size_t> KeptPoints(const std::vector<double>& xs, const std::vector<double>& ys, double tolerance);

}  // namespace rig
