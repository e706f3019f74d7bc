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
  // The one number the error's detail names (see PluginErrorLimit); the saver
  // words the detail itself (PluginErrorDetail), so nothing the plug-in
  // says reaches the user as text.
  int32_t errorValue = 0;
  bool failed = false;

  bool operator==(const PluginAnswers&) const = default;
};

// What PluginAnswers::errorValue holds for each error: 7 and 13 none (0),
// 8 the missing export's place in kPluginExports (0..3), 9 and 15 the
// area's width, 10 and 16 its height, 11 and 17 the source x, 12 and 18
// the source y, 14 the symmetry type answered. The limit that a detail
// names beside the value follows from the error and the question.
int32_t PluginErrorLimit(int32_t errorNo, const PluginQuestion& question);

// The detail text of the answers' error in the installed language, for the
// error box: the file of the question, the export, the value and its limit,
// the symmetry type. Empty when there is no error.
std::string PluginErrorDetail(const PluginQuestion& question, const PluginAnswers& answers);

// Loads the library, asks it what `question` says and unloads it, on this
// thread. Never throws for anything the library answers.
PluginAnswers AskPlugin(const PluginQuestion& question);

// The answers of a conversation that never took place or whose answers were
// lost: error 7 naming the library, as for a library that does not load.
PluginAnswers PluginCallFailed(const PluginQuestion& question);

// The wire format: little-endian 32-bit numbers and length-prefixed UTF-8
// texts. The question (the saver's) carries the one text, the file name,
// which does not travel when longer than kMaxPluginFileName bytes (the
// longest Windows path, 32767 UTF-16 units, in UTF-8); the answers are
// numbers only.
inline constexpr size_t kMaxPluginFileName = 3 * 32767;
// The largest encoded question and answers (every position of a 256 x 256
// area), so a fixed buffer can carry either.
inline constexpr size_t kMaxPluginQuestionBytes = 64 + kMaxPluginFileName;
inline constexpr size_t kMaxPluginAnswerBytes = 64 + 4 * 256 * 256;

std::string EncodeQuestion(const PluginQuestion& question);
std::optional<PluginQuestion> DecodeQuestion(std::string_view bytes);
std::string EncodeAnswers(const PluginAnswers& answers);
// The answers to `question`, or none when the bytes are not well-formed or
// could not have come from a conversation about it: an area outside
// 32..256 with positions answered, more positions than the area has, a
// point outside the cut, an error number outside the table, an error
// value that does not break its error's rule, a symmetry type outside 1..4
// on success. The host runs foreign code, so its bytes are checked like
// any other input from outside.
std::optional<PluginAnswers> DecodeAnswers(std::string_view bytes, const PluginQuestion& question);

// What the host does with one question: decode it, ask, encode the
// answers. Empty for bytes that are not a question.
std::string ServePluginQuestion(std::string_view questionBytes);

}  // namespace tessivane
