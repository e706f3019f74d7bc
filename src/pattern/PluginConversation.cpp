#include "pattern/PluginConversation.h"

#include <iterator>
#include <utility>

#include "base/Errors.h"
#include "pattern/ConversionMethod.h"
#include "pattern/PluginLibrary.h"

namespace tessivane {

namespace {

// The kit's header tells plug-in authors the same limits.
static_assert(TESSIVANE_MIN_SIDE == ConversionMethod::kMinCut &&
              TESSIVANE_MAX_SIDE == ConversionMethod::kMaxCut);

constexpr int32_t kMin = ConversionMethod::kMinCut;
constexpr int32_t kMax = ConversionMethod::kMaxCut;

// One conversation, from loading the library to its answers.
class Conversation {
public:
  explicit Conversation(const PluginQuestion& question) : q_(question) {
    a_.tileWidth = q_.tileWidth;
    a_.tileHeight = q_.tileHeight;
  }

  PluginAnswers Run() && {
    Converse();
    return std::move(a_);
  }

private:
  void Fail(int32_t number, int32_t value) {
    a_.errorNo = number;
    a_.errorValue = value;
    a_.failed = true;
  }

  // The area size rules, in this order: width above 256, width below 32,
  // height above 256, height below 32.
  bool CheckTileSize() {
    const int32_t w = a_.tileWidth;
    const int32_t h = a_.tileHeight;
    if (w > kMax)
      Fail(kErrPluginWidthLarge, w);
    else if (w < kMin)
      Fail(kErrPluginWidthSmall, w);
    else if (h > kMax)
      Fail(kErrPluginHeightLarge, h);
    else if (h < kMin)
      Fail(kErrPluginHeightSmall, h);
    return !a_.failed;
  }

  // A source point inside the cut, in this order: x too large, x negative,
  // y too large, y negative.
  bool CheckSource(int32_t sourceX, int32_t sourceY) {
    if (sourceX >= q_.cutWidth)
      Fail(kErrPluginXOutside, sourceX);
    else if (sourceX < 0)
      Fail(kErrPluginXNegative, sourceX);
    else if (sourceY >= q_.cutHeight)
      Fail(kErrPluginYOutside, sourceY);
    else if (sourceY < 0)
      Fail(kErrPluginYNegative, sourceY);
    return !a_.failed;
  }

  void Converse() {
    PluginLibrary library = PluginLibrary::Open(q_.fileName);
    if (!library.Loaded()) return Fail(kErrPluginLoad, 0);
    // From here on `library` unloads the library whichever way this ends.
    const bool check = q_.kind == PluginQuestion::Kind::kCheck;
    auto identify = library.Find<TessivaneDllProc>(kPluginExports[0]);
    if (!identify) return Fail(kErrPluginExport, 0);
    if (check) {
      a_.identification = identify();
      a_.identified = true;
    }
    auto makeImageSize = library.Find<MakeImageSizeProc>(kPluginExports[1]);
    if (!makeImageSize) return Fail(kErrPluginExport, 1);
    auto makeTransMethod = library.Find<MakeTransMethodProc>(kPluginExports[2]);
    if (!makeTransMethod) return Fail(kErrPluginExport, 2);
    auto symmetryType = library.Find<SymmetryTypeProc>(kPluginExports[3]);
    if (!symmetryType) return Fail(kErrPluginExport, 3);

    // A plug-in that does not say it was written for this interface is
    // noted, and asked all the same: a later failure overwrites the note.
    const int32_t identification = check ? a_.identification : identify();
    if (identification != TESSIVANE_PLUGIN_ID) a_.errorNo = kErrPluginUnusable;
    makeImageSize(q_.cutWidth, q_.cutHeight, &a_.tileWidth, &a_.tileHeight);
    if (!CheckTileSize()) return;

    a_.sources.reserve(static_cast<size_t>(a_.tileWidth) * static_cast<size_t>(a_.tileHeight));
    int32_t sourceX = 0;  // not reset between the questions
    int32_t sourceY = 0;
    for (int32_t x = 0; x < a_.tileWidth; ++x) {
      for (int32_t y = 0; y < a_.tileHeight; ++y) {
        makeTransMethod(a_.tileWidth, a_.tileHeight, x, y, &sourceX, &sourceY);
        if (!CheckSource(sourceX, sourceY)) return;
        a_.sources.push_back(ConversionMethod::PackPoint(sourceX, sourceY));
      }
    }
    a_.symmetry = symmetryType();
    a_.symmetryAnswered = true;
    if (a_.symmetry < TESSIVANE_SYMMETRY_NONE || a_.symmetry > TESSIVANE_SYMMETRY_RIGHT_DOWN)
      Fail(kErrPluginSymmetry, a_.symmetry);
  }

  const PluginQuestion& q_;
  PluginAnswers a_;
};

// Little-endian 32-bit numbers and length-prefixed texts.
class Writer {
public:
  void Number(int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<char>((u >> shift) & 0xFF));
  }
  void Text(const std::string& text) {
    Number(static_cast<int32_t>(text.size()));
    bytes_ += text;
  }
  std::string Take() && { return std::move(bytes_); }

private:
  std::string bytes_;
};

class Reader {
public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  bool Number(int32_t& value) {
    if (rest_.size() < 4) return false;
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(rest_[static_cast<size_t>(i)]);
    value = static_cast<int32_t>(u);
    rest_.remove_prefix(4);
    return true;
  }
  bool Flag(bool& flag) {
    int32_t value = 0;
    if (!Number(value) || (value != 0 && value != 1)) return false;
    flag = value == 1;
    return true;
  }
  bool Text(std::string& text) {
    int32_t size = 0;
    if (!Number(size) || size < 0 || static_cast<size_t>(size) > kMaxPluginFileName ||
        static_cast<size_t>(size) > rest_.size())
      return false;
    text.assign(rest_.substr(0, static_cast<size_t>(size)));
    rest_.remove_prefix(static_cast<size_t>(size));
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

private:
  std::string_view rest_;
};

constexpr int32_t kQuestionTag = 0x51535654;  // "TVSQ"
constexpr int32_t kAnswersTag = 0x41535654;   // "TVSA"

bool InArea(int32_t side) { return side >= kMin && side <= kMax; }

// Whether `value` is what error `errorNo` can report as its
// PluginAnswers::errorValue: the value that broke the error's rule, the
// export's place, or 0 for an error without a value.
bool BreaksRule(int32_t errorNo, int32_t value, const PluginQuestion& q) {
  const int32_t limit = PluginErrorLimit(errorNo, q);
  switch (errorNo) {
    case kErrPluginLoad:
    case kErrPluginUnusable:
      return value == 0;
    case kErrPluginExport:
      return value >= 0 && static_cast<size_t>(value) < std::size(kPluginExports);
    case kErrPluginWidthLarge:
    case kErrPluginHeightLarge:
      return value > limit;
    case kErrPluginXOutside:
    case kErrPluginYOutside:
      return value >= limit;
    case kErrPluginWidthSmall:
    case kErrPluginHeightSmall:
    case kErrPluginXNegative:
    case kErrPluginYNegative:
      return value < limit;
    case kErrPluginSymmetry:
      return value < TESSIVANE_SYMMETRY_NONE || value > TESSIVANE_SYMMETRY_RIGHT_DOWN;
    default:
      return false;  // not a plug-in error
  }
}

// Whether answers decoded from outside could be the result of a
// conversation about `q` (see DecodeAnswers).
bool Plausible(const PluginAnswers& a, const PluginQuestion& q) {
  if (a.failed ? a.errorNo == 0 || a.errorNo == kErrPluginUnusable
               : a.errorNo != 0 && a.errorNo != kErrPluginUnusable)
    return false;
  if (a.errorNo == 0 ? a.errorValue != 0 : !BreaksRule(a.errorNo, a.errorValue, q)) return false;
  if (!a.sources.empty()) {
    if (!InArea(a.tileWidth) || !InArea(a.tileHeight)) return false;
    if (a.sources.size() > static_cast<size_t>(a.tileWidth) * static_cast<size_t>(a.tileHeight)) return false;
    for (int32_t source : a.sources) {
      if (source < 0 || ConversionMethod::PointX(source) >= q.cutWidth ||
          ConversionMethod::PointY(source) >= q.cutHeight)
        return false;
    }
  }
  if (!a.failed) {
    const bool complete = a.symmetryAnswered && a.sources.size() == static_cast<size_t>(a.tileWidth) *
                                                                        static_cast<size_t>(a.tileHeight);
    if (!complete || a.symmetry < TESSIVANE_SYMMETRY_NONE || a.symmetry > TESSIVANE_SYMMETRY_RIGHT_DOWN)
      return false;
  }
  return true;
}

}  // namespace

PluginAnswers AskPlugin(const PluginQuestion& question) { return Conversation(question).Run(); }

int32_t PluginErrorLimit(int32_t errorNo, const PluginQuestion& question) {
  switch (errorNo) {
    case kErrPluginWidthLarge:
    case kErrPluginHeightLarge:
      return kMax;
    case kErrPluginWidthSmall:
    case kErrPluginHeightSmall:
      return kMin;
    case kErrPluginXOutside:
      return question.cutWidth;
    case kErrPluginYOutside:
      return question.cutHeight;
    default:
      return 0;  // a source point below 0, or an error without a limit
  }
}

std::string PluginErrorDetail(const PluginQuestion& question, const PluginAnswers& answers) {
  switch (answers.errorNo) {
    case 0:
      return {};
    case kErrPluginLoad:
      return DetailFile(question.fileName);
    case kErrPluginExport: {
      const bool known =
          answers.errorValue >= 0 && static_cast<size_t>(answers.errorValue) < std::size(kPluginExports);
      return DetailFunction(known ? kPluginExports[answers.errorValue] : "");
    }
    case kErrPluginUnusable:
      return UnitErrorMessage(kErrPluginUnusable);
    case kErrPluginSymmetry:
      return DetailSymmetry(answers.errorValue);
    default:
      return DetailLimit(answers.errorValue, PluginErrorLimit(answers.errorNo, question));
  }
}

PluginAnswers PluginCallFailed(const PluginQuestion& question) {
  PluginAnswers answers;
  answers.tileWidth = question.tileWidth;
  answers.tileHeight = question.tileHeight;
  answers.errorNo = kErrPluginLoad;
  answers.failed = true;
  return answers;
}

std::string EncodeQuestion(const PluginQuestion& q) {
  Writer w;
  w.Number(kQuestionTag);
  w.Number(static_cast<int32_t>(q.kind));
  w.Text(q.fileName);
  w.Number(q.cutWidth);
  w.Number(q.cutHeight);
  w.Number(q.tileWidth);
  w.Number(q.tileHeight);
  return std::move(w).Take();
}

std::optional<PluginQuestion> DecodeQuestion(std::string_view bytes) {
  Reader r(bytes);
  PluginQuestion q;
  int32_t tag = 0;
  int32_t kind = 0;
  if (!r.Number(tag) || tag != kQuestionTag || !r.Number(kind) || kind < 0 || kind > 1) return std::nullopt;
  q.kind = static_cast<PluginQuestion::Kind>(kind);
  if (!r.Text(q.fileName) || !r.Number(q.cutWidth) || !r.Number(q.cutHeight) || !r.Number(q.tileWidth) ||
      !r.Number(q.tileHeight) || !r.AtEnd())
    return std::nullopt;
  if (!InArea(q.cutWidth) || !InArea(q.cutHeight)) return std::nullopt;
  return q;
}

std::string EncodeAnswers(const PluginAnswers& a) {
  Writer w;
  w.Number(kAnswersTag);
  w.Number(a.tileWidth);
  w.Number(a.tileHeight);
  w.Number(a.symmetry);
  w.Number(a.symmetryAnswered ? 1 : 0);
  w.Number(a.identified ? 1 : 0);
  w.Number(a.identification);
  w.Number(a.errorNo);
  w.Number(a.errorValue);
  w.Number(a.failed ? 1 : 0);
  w.Number(static_cast<int32_t>(a.sources.size()));
  for (int32_t source : a.sources) w.Number(source);
  return std::move(w).Take();
}

std::optional<PluginAnswers> DecodeAnswers(std::string_view bytes, const PluginQuestion& question) {
  Reader r(bytes);
  PluginAnswers a;
  int32_t tag = 0;
  int32_t count = 0;
  if (!r.Number(tag) || tag != kAnswersTag || !r.Number(a.tileWidth) || !r.Number(a.tileHeight) ||
      !r.Number(a.symmetry) || !r.Flag(a.symmetryAnswered) || !r.Flag(a.identified) ||
      !r.Number(a.identification) || !r.Number(a.errorNo) || !r.Number(a.errorValue) || !r.Flag(a.failed) ||
      !r.Number(count) || count < 0 || count > kMax * kMax)
    return std::nullopt;
  a.sources.resize(static_cast<size_t>(count));
  for (int32_t& source : a.sources)
    if (!r.Number(source)) return std::nullopt;
  if (!r.AtEnd() || !Plausible(a, question)) return std::nullopt;
  return a;
}

std::string ServePluginQuestion(std::string_view questionBytes) {
  const std::optional<PluginQuestion> question = DecodeQuestion(questionBytes);
  if (!question) return {};
  return EncodeAnswers(AskPlugin(*question));
}

}  // namespace tessivane
