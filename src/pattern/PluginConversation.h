// One conversation with a plug-in library: what the saver asks, what the
// library answers, and the bytes both travel in between the saver and the
// plug-in host process. Asking in this process (AskPlugin) is what the host
// does, and what the renderer and the native tests do directly; the saver
// asks through the installed runner (pattern/PluginCalls.h).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessivane {

struct PluginQuestion {
  enum class Kind : uint8_t {
    // The set-up of the plug-in method: the four exports looked up first,
    // then "TessivaneDLL", "MakeImageSize", every position of
    // "MakeTransMethod" and "SymmetryType".
    kSetUp = 0,
    // The settings dialog's check: "TessivaneDLL" looked up and asked
    // first, then (when the other three exist) a whole trial set-up, so
    // that a plug-in that crashes or hangs there is found before it is
    // stored.
    kCheck = 1,
  };
  Kind kind = Kind::kSetUp;
  std::string fileName;  // the library's path (UTF-8), passed on unchanged
  int32_t cutWidth = 0;
  int32_t cutHeight = 0;
  // The area size before "MakeImageSize": the plug-in writes it in place
  // and need not write it at all, so the last answer stands.
  int32_t tileWidth = 0;
  int32_t tileHeight = 0;

  bool operator==(const PluginQuestion&) const = default;
};

struct PluginAnswers {
  int32_t tileWidth = 0;
  int32_t tileHeight = 0;
  int32_t symmetry = 0;
  bool symmetryAnswered = false;
  // kCheck: whether "TessivaneDLL" was asked, and its answer.
  bool identified = false;
  int32_t identification = 0;
  // Packed source point (x * 256 + y) of every position that passed its
  // checks, X outer, Y inner.
  std::vector<int32_t> sources;
  // The failure that ended the conversation (failed), or error 13 noted on
  // the way; 0 when nothing was.
  int32_t errorNo = 0;
  std::string errorText;
  bool failed = false;

  bool operator==(const PluginAnswers&) const = default;
};

// Loads the library, asks it what `question` says and unloads it, on this
// thread. Never throws for anything the library answers.
PluginAnswers AskPlugin(const PluginQuestion& question);

// The answers of a conversation that never took place or whose answers were
// lost: error 7 naming the library, as for a library that does not load.
PluginAnswers PluginCallFailed(const PluginQuestion& question);

// The wire format: little-endian 32-bit numbers and length-prefixed UTF-8
// texts. A file name or text longer than kMaxPluginText does not travel.
inline constexpr size_t kMaxPluginText = 128 * 1024;
// The largest encoded question and answers (every position of a 256 x 256
// area plus the longest text), so a fixed buffer can carry either.
inline constexpr size_t kMaxPluginQuestionBytes = 64 + kMaxPluginText;
inline constexpr size_t kMaxPluginAnswerBytes = 64 + kMaxPluginText + 4 * 256 * 256;

std::string EncodeQuestion(const PluginQuestion& question);
std::optional<PluginQuestion> DecodeQuestion(std::string_view bytes);
std::string EncodeAnswers(const PluginAnswers& answers);
// The answers to `question`, or none when the bytes are not well-formed or
// could not have come from a conversation about it: an area outside
// 32..256 with positions answered, more positions than the area has, a
// point outside the cut, an error number outside the table, a symmetry
// type outside 1..4 on success. The host runs foreign code, so its bytes
// are checked like any other input from outside.
std::optional<PluginAnswers> DecodeAnswers(std::string_view bytes, const PluginQuestion& question);

// What the host does with one question: decode it, ask, encode the
// answers. Empty for bytes that are not a question.
std::string ServePluginQuestion(std::string_view questionBytes);

}  // namespace tessivane
