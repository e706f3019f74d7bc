// The plug-in host's protocol: a question that travels to the host as
// bytes and comes back as answers gives exactly what asking in this process
// gives, and answers that no conversation could have given are refused.
#include "pattern/PluginConversation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "pattern/ConversionMethod.h"

namespace tessivane {
namespace {

std::string Example(const std::string& name) {
  return std::string(TESSIVANE_EXAMPLE_PLUGIN_DIR) + "/" + name + ".so";
}
std::string Scripted() { return std::string(TEST_PLUGIN_DIR) + "/tessivane_test_plugin_scripted.so"; }

PluginQuestion Question(PluginQuestion::Kind kind, const std::string& file, int32_t cutWidth,
                        int32_t cutHeight) {
  PluginQuestion q;
  q.kind = kind;
  q.fileName = file;
  q.cutWidth = cutWidth;
  q.cutHeight = cutHeight;
  q.tileWidth = 7;  // an earlier answer that stands when the plug-in writes none
  q.tileHeight = 9;
  return q;
}

TEST(PluginConversation, AnswersThroughTheHostEqualTheAnswersAskedHere) {
  using K = PluginQuestion::Kind;
  struct Case {
    PluginQuestion question;
    const char* script;  // the scripted plug-in's answers
  } cases[] = {
      {Question(K::kSetUp, Example("identity"), 64, 64), ""},
      {Question(K::kSetUp, Example("hexagon"), 256, 256), ""},
      {Question(K::kSetUp, Example("waves_down"), 96, 96), ""},
      {Question(K::kCheck, Example("waves_right"), 32, 32), ""},
      {Question(K::kSetUp, Scripted(), 64, 48), "id=2 sym=4 area=100x80"},
      {Question(K::kSetUp, Scripted(), 64, 64), "bad=3,4:64,0"},
      {Question(K::kSetUp, Scripted(), 64, 64), "area=31x100"},
      {Question(K::kSetUp, Scripted(), 64, 64), "nosize"},
      {Question(K::kSetUp, Scripted(), 64, 64), "sym=5"},
      {Question(K::kCheck, Scripted(), 128, 128), "id=3 bad=0,0:-1,0"},
      {Question(K::kSetUp, Scripted() + ".missing", 64, 64), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question.fileName + " " + c.script);
    setenv("TESSIVANE_TEST_PLUGIN", c.script, 1);
    const std::string questionBytes = EncodeQuestion(c.question);
    ASSERT_EQ(DecodeQuestion(questionBytes), c.question);
    const PluginAnswers here = AskPlugin(c.question);
    const std::optional<PluginAnswers> hosted = DecodeAnswers(ServePluginQuestion(questionBytes), c.question);
    ASSERT_TRUE(hosted.has_value());
    EXPECT_EQ(*hosted, here);
    EXPECT_EQ(here.identified, c.question.kind == K::kCheck && here.errorNo != kErrPluginLoad);
  }
  unsetenv("TESSIVANE_TEST_PLUGIN");
}

TEST(PluginConversation, AnswersNoConversationCouldGiveAreRefused) {
  const PluginQuestion q = Question(PluginQuestion::Kind::kSetUp, Example("identity"), 64, 64);
  const PluginAnswers good = AskPlugin(q);
  ASSERT_FALSE(good.failed);
  ASSERT_TRUE(DecodeAnswers(EncodeAnswers(good), q).has_value());
  const std::vector<std::function<void(PluginAnswers&)>> spoil = {
      [](PluginAnswers& a) { a.sources[5] = ConversionMethod::PackPoint(64, 0); },  // outside the cut
      [](PluginAnswers& a) { a.sources[5] = -1; },
      [](PluginAnswers& a) { a.sources.pop_back(); },  // an unfinished map
      [](PluginAnswers& a) { a.tileWidth = 300; },     // an area beyond the map
      [](PluginAnswers& a) { a.symmetry = 5; },
      [](PluginAnswers& a) { a.errorNo = 99; },
      [](PluginAnswers& a) { a.failed = true; },  // failed without an error
  };
  for (size_t i = 0; i < spoil.size(); ++i) {
    SCOPED_TRACE(i);
    PluginAnswers bad = good;
    spoil[i](bad);
    EXPECT_FALSE(DecodeAnswers(EncodeAnswers(bad), q).has_value());
  }
  // Each error's value must break that error's rule: {failed, error, value}.
  const int32_t errors[][3] = {{0, 0, 1},
                               {1, kErrPluginExport, 4},
                               {1, kErrPluginWidthLarge, 256},
                               {1, kErrPluginXOutside, 63},
                               {1, kErrPluginSymmetry, 4},
                               {1, kErrPluginLoad, 7},
                               {1, kErrPluginUnusable, 0},
                               {0, kErrPluginSymmetry, 9}};
  for (const auto& e : errors) {
    PluginAnswers bad = good;
    bad.failed = e[0] == 1;
    bad.errorNo = e[1];
    bad.errorValue = e[2];
    EXPECT_FALSE(DecodeAnswers(EncodeAnswers(bad), q).has_value()) << e[1] << " " << e[2];
  }
  const std::string bytes = EncodeAnswers(good);
  EXPECT_FALSE(DecodeAnswers(bytes.substr(0, bytes.size() - 1), q).has_value());
  EXPECT_FALSE(DecodeAnswers(bytes + "x", q).has_value());
  EXPECT_TRUE(ServePluginQuestion("not a question").empty());
}

}  // namespace
}  // namespace tessivane
