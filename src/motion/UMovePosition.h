// The sampling position that travels over the source picture, one step per
// frame. Each kind of path derives from TMovePosition and supplies Move.
#pragma once
#include <cstdint>

#include "base/Point.h"

namespace tessivane {

class TMovePosition {
public:
  // Starts at (X, Y); Range is the largest position at which the piece
  // still lies inside the source.
  TMovePosition(int32_t X, int32_t Y, int32_t Speed, const Point& Range);
  virtual ~TMovePosition() = default;
  TMovePosition(const TMovePosition&) = delete;
  TMovePosition& operator=(const TMovePosition&) = delete;

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
};

}  // namespace tessivane
