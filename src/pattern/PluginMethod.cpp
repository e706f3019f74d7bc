#include "pattern/PluginMethod.h"

#include <utility>

#include "pattern/PluginCalls.h"

namespace tessivane {

PluginMethod::PluginMethod(std::string fileName) : fileName_(std::move(fileName)) {}

UnitFailure PluginMethod::BuildMap() {
  // The plug-in's answers are looked up in this (possibly shuffled) map, so
  // the shuffle and the plug-in's geometry compose.
  FillIdentityPointMap(Cut().x, Cut().y);

  PluginQuestion question;
  question.fileName = fileName_;
  question.cutWidth = Cut().x;
  question.cutHeight = Cut().y;
  question.tileWidth = Area().x;
  question.tileHeight = Area().y;
  notice_ = {};
  const PluginAnswers answers = AskPluginThroughRunner(question);

  Answer({answers.tileWidth, answers.tileHeight}, answers.symmetryAnswered ? answers.symmetry : Symmetry());
  // Every answer that passed its checks goes into the map, X outer, Y inner
  // (the runner has checked that they fit the area and the cut).
  size_t next = 0;
  for (int32_t x = 0; x < Area().x && next < answers.sources.size(); ++x)
    for (int32_t y = 0; y < Area().y && next < answers.sources.size(); ++y) {
      const int32_t source = answers.sources[next++];
      TileMap[x][y] = PointMap[PointX(source)][PointY(source)];
    }
  if (answers.errorNo == 0) return {};
  UnitFailure failure{.number = answers.errorNo, .detail = PluginErrorDetail(question, answers)};
  if (answers.failed) return failure;
  notice_ = std::move(failure);
  return {};
}

}  // namespace tessivane
