#include "snap.h"

#include <cstdlib>

namespace radixpad::commonlib {

namespace {

// One direction: start and end of the window (inclusive), of the area.
int SnapAxis(int start, int end, int areaStart, int areaEnd, int distance) {
  if (std::abs(start - areaStart) <= distance) return areaStart;
  if (std::abs(areaEnd - end) <= distance) return areaEnd - (end - start);
  return start;
}

}  // namespace

QPoint SnapFramePosition(const QRect& frame, const QRect& available, int distance) {
  if (!frame.isValid() || !available.isValid()) return frame.topLeft();
  return {SnapAxis(frame.left(), frame.right(), available.left(), available.right(), distance),
          SnapAxis(frame.top(), frame.bottom(), available.top(), available.bottom(), distance)};
}

}  // namespace radixpad::commonlib
