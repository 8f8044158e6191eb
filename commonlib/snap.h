// Snapping a window to the sides of its screen.
#pragma once

#include <QPoint>
#include <QRect>

namespace radixpad::commonlib {

/// How close (in pixels, inside or outside) a window's edge must come to a side of the
/// screen's available area to land on it.
inline constexpr int kSnapDistance = 16;

/// The top-left corner `frame` (the window with its decorations) should move to: each
/// edge within `distance` of the matching side of `available` lands on it. The left and
/// top sides win when both sides of one direction are that close.
QPoint SnapFramePosition(const QRect& frame, const QRect& available, int distance = kSnapDistance);

}  // namespace radixpad::commonlib
