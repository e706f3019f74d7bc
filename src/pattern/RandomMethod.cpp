#include "pattern/RandomMethod.h"

#include "pattern/MethodTable.h"

namespace tessivane {

int ChooseRandomMethodType(const std::string& random, RandomGenerator& generator) {
  constexpr int kMaxDraws = 10000;
  generator.Randomize();
  const int randomCode = MethodTypeToCode(kMethodTypeRandom);
  const auto codeCount = static_cast<uint32_t>(MethodCodeCount());
  int counter = 0;
  int code = 0;
  do {
    code = static_cast<int>(generator.Int(codeCount));
    if (code != randomCode && ++counter > kMaxDraws) break;
  } while (!(static_cast<size_t>(code) < random.size() && random[code] == '1'));
  return CodeToMethodType(code);
}

}  // namespace tessivane
