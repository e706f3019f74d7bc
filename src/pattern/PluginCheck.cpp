#include "pattern/PluginCheck.h"

#include "base/Errors.h"
#include "pattern/PluginCalls.h"
#include "pattern/PluginLibrary.h"  // TESSIVANE_PLUGIN_ID

namespace tessivane {

void CheckPluginFile(const std::string& fileName, int32_t cutSide) {
  PluginQuestion question;
  question.kind = PluginQuestion::Kind::kCheck;
  question.fileName = fileName;
  question.cutWidth = cutSide;
  question.cutHeight = cutSide;
  const PluginAnswers answers = AskPluginThroughRunner(question);
  if (answers.failed && (answers.errorNo == kErrPluginLoad || !answers.identified)) {
    ShowUnitError(answers.errorNo, PluginErrorDetail(question, answers));
    throw SilentAbort();
  }
  if (answers.identified && answers.identification != TESSIVANE_PLUGIN_ID)
    ShowUnitError(kErrPluginUnusable, UnitErrorMessage(kErrPluginUnusable));
}

}  // namespace tessivane
