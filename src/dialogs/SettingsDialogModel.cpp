#include "dialogs/SettingsDialogModel.h"

#include <cctype>
#include <exception>

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "codecs/PictureLoader.h"
#include "dialogs/ControlIds.h"
#include "base/Texts.h"
#include "motion/MotionPaths.h"
#include "pattern/Composer.h"
#include "pattern/MethodTable.h"
#include "pattern/PluginCheck.h"

namespace tessivane::dialogs {

bool ParseInteger(const std::string& text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isdigit(c)) return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{2147483648}) return false;
  }
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT32_MAX) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

void ShowPosition(ValueRow& row) { row.text = std::to_string(row.position); }

void TakeEditText(ValueRow& row, const ValueRange& range) {
  int32_t value = 0;
  if (!ParseInteger(row.text, value)) return;  // left in the box until the next synchronisation
  row.position = range.Clamp(value);
  ShowPosition(row);
}

EnabledControls EnabledFor(uint8_t source, uint8_t conversion) {
  EnabledControls enabled;
  enabled.imageFileEdit = enabled.imageFileBrowse = source == kFileTypeFile;
  enabled.imageFolderEdit = enabled.imageFolderBrowse = enabled.intervalEdit = enabled.fadeEdit =
      source == kFileTypeFolder;
  const bool plugin = conversion == kTransPlugin;
  enabled.methodList = enabled.detailsButton = !plugin;
  enabled.pluginEdit = enabled.pluginBrowse = plugin;
  return enabled;
}

int FocusForSource(uint8_t source) {
  if (source == kFileTypeFile) return kIdImageFileEdit;
  if (source == kFileTypeFolder) return kIdImageFolderEdit;
  return 0;
}

int FocusForConversion(uint8_t conversion) {
  return conversion == kTransPlugin ? kIdPluginEdit : kIdMethodList;
}

SettingsDialogModel::SettingsDialogModel(SettingsStore& store) : record_(store) {}

SettingsControls SettingsDialogModel::InitialControls() const {
  const MainSettings& r = record_;
  SettingsControls c;
  c.monoTone = r.MonoTone;
  c.shuffle = r.Shuffle;
  c.blur = r.Blur;
  c.brightnessChange = r.BrightnessChange;
  // The scroll bars bring stored values outside their ranges to the nearer
  // bound; the edit boxes show the positions.
  c.size.position = kSizeRange.Clamp(r.Size);
  c.move.position = kMoveRange.Clamp(r.Move);
  c.weight.position = kWeightRange.Clamp(r.Weight);
  ShowPosition(c.size);
  ShowPosition(c.move);
  ShowPosition(c.weight);
  c.methodListPosition = MethodTypeToListPosition(r.UnitType);
  c.source = (r.FileType == kFileTypeFile || r.FileType == kFileTypeFolder) ? r.FileType : kFileTypeRandom;
  c.imageFile = r.BmpFileName;
  c.imageFolder = r.ImageFolderName;
  c.conversion = r.TransType == kTransPlugin ? kTransPlugin : kTransBasic;
  c.pluginFile = r.DllFileName;
  c.intervalText = std::to_string(r.ImageChangeTime);
  c.fadeText = std::to_string(r.FadeTime);
  c.motionListPosition = MotionKindToCode(r.MovePositionType);
  return c;
}

namespace {

SaveOutcome Message(const std::string& text, int focus) {
  SaveOutcome outcome;
  outcome.kind = SaveOutcome::Kind::kMessage;
  outcome.message = text;
  outcome.focusControl = focus;
  return outcome;
}

// The image file must exist and hold a picture whose sides are both at
// least 1.5 times the cut size that the chosen Size gives. Its messages
// name the file as the saver's picture messages do.
SaveOutcome CheckImageFile(const std::string& path, int32_t size) {
  if (!FileExists(path)) return Message(NamedMessage(path, Tr(TextId::kFileNotFound)), kIdImageFileEdit);
  SaveOutcome outcome;
  try {
    const Bitmap picture = LoadPicture(path);
    if (Composer::SourceTooSmall(CutSideOf(size), picture.Width(), picture.Height())) {
      outcome.kind = SaveOutcome::Kind::kUnitError;
      outcome.unitError = kErrSourceTooSmall;
      outcome.detail = ShortenedName(path);
    }
  } catch (const std::exception& error) {
    if (RanOutOfMemory(error)) return Message(NamedMessage(path, Tr(TextId::kOutOfMemory)), 0);
    outcome.kind = SaveOutcome::Kind::kStandardError;
    outcome.message = NameInMessage(path, error.what());
  }
  return outcome;
}

}  // namespace

SaveOutcome SettingsDialogModel::Save(SettingsControls& c) {
  if (c.source == kFileTypeFile) {
    SaveOutcome outcome = CheckImageFile(c.imageFile, c.size.position);
    if (!outcome.Saved()) return outcome;
  } else if (c.source == kFileTypeFolder && !FolderExists(c.imageFolder)) {
    return Message(NamedMessage(c.imageFolder, Tr(TextId::kFolderNotFound)), kIdImageFolderEdit);
  }
  if (c.conversion == kTransPlugin) {
    try {
      // Shows its own errors; a wrong answer only warns.
      CheckPluginFile(c.pluginFile, static_cast<int32_t>(CutSideOf(kSizeRange.Clamp(c.size.position))));
    } catch (const SilentAbort&) {
      SaveOutcome outcome;
      outcome.kind = SaveOutcome::Kind::kAlreadyShown;
      return outcome;
    }
  }
  ShowPosition(c.size);
  ShowPosition(c.move);
  ShowPosition(c.weight);
  int32_t interval = 0, fade = 0;
  for (const auto& [text, value] : {std::pair{&c.intervalText, &interval}, std::pair{&c.fadeText, &fade}}) {
    if (ParseInteger(*text, *value)) continue;
    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::kStandardError;
    outcome.message = Format(Tr(TextId::kNotAnInteger), text->c_str());
    return outcome;
  }

  MainSettings& r = record_;
  r.UnitType =
      static_cast<uint8_t>(c.methodListPosition < 0 ? 1 : ListPositionToMethodType(c.methodListPosition));
  r.MonoTone = c.monoTone;
  r.Shuffle = c.shuffle;
  r.Blur = c.blur;
  r.BrightnessChange = c.brightnessChange;
  r.FileType = c.source;
  r.BmpFileName = c.imageFile;
  r.ImageFolderName = c.imageFolder;
  r.SetSize(kSizeRange.Clamp(c.size.position));
  r.SetMove(kMoveRange.Clamp(c.move.position));
  r.SetWeight(kWeightRange.Clamp(c.weight.position));
  r.TransType = c.conversion;
  r.DllFileName = c.pluginFile;
  r.MovePositionType = c.motionListPosition < 0 ? 0 : CodeToMotionKind(c.motionListPosition);
  r.SetImageChangeTime(interval);
  r.FadeTime = MainSettings::kFadeTime.Clamp(fade);  // outside 0..5 s: the nearest end
  r.Save();
  return {};
}

}  // namespace tessivane::dialogs
