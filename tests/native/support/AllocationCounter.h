// Counts heap allocations made by the program while a counter is alive
// (the test program replaces the global operator new to do so).
#pragma once
#include <cstddef>

namespace tessivane::testing {

class AllocationCounter {
public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  size_t Count() const;

private:
  size_t start_;
};

}  // namespace tessivane::testing
