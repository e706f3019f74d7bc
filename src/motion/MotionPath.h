// The sampling position that travels over the source picture, one step per
// frame. Each kind of path derives from MotionPath and supplies Move.
#pragma once
#include <cstdint>

#include "base/Point.h"
#include "base/Random.h"

namespace tessivane {

class MotionPath {
public:
  // Starts at (x, y); range is the largest position at which the piece
  // still lies inside the source; `random` is the generator the path draws
  // its steps from, for its whole life.
  MotionPath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random);
  virtual ~MotionPath() = default;
  MotionPath(const MotionPath&) = delete;
  MotionPath& operator=(const MotionPath&) = delete;

  // Advances the position by one frame.
  virtual void Move() = 0;
  // The position with each coordinate truncated toward zero.
  Point Position() const;

  double X;
  double Y;
  double DX = 0;
  double DY = 0;
  int32_t Speed;
  int32_t MaxX;
  int32_t MaxY;

protected:
  RandomGenerator& random_;
};

}  // namespace tessivane
