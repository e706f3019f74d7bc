// Writes the test pictures into a folder as the fuzzer's seed corpus.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "codecs/TestPictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  for (const auto& [name, bytes] : tessivane::testing::SeedFiles()) {
    std::ofstream out(std::filesystem::path(argv[1]) / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
