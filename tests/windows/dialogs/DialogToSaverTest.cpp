// From the dialog to the screen: a method, a picture file and a size chosen
// in the settings dialog are what the full-screen saver then shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "DialogSession.h"
#include "base/Bitmap.h"
#include "pattern/Composer.h"
#include "pattern/MethodTable.h"

namespace tessivane::test {
namespace {

using namespace tessivane::dialogs;

constexpr uint32_t kPalette[] = {0xD02020, 0x20A040, 0x2040D0, 0xE0E040};

// A picture of 4 × 4 blocks in four colours, scattered so that no cut of
// it repeats itself: every tile the saver makes of it is told apart by its
// size alone.
uint32_t PictureColour(int x, int y) {
  const uint32_t block = static_cast<uint32_t>(x / 4) * 7919u + static_cast<uint32_t>(y / 4) * 104729u;
  return kPalette[(block * 2654435761u >> 13) % 4];
}

// The tile a method makes of that picture at a unit size, as the core
// makes it.
Point TileSize(int methodType, int32_t size, int width, int height) {
  Bitmap source(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) source.SetPixelRgb(x, y, PictureColour(x, y));
  Composer composer(methodType, ComposerParams{}, ProgramRandom());
  composer.Prepare({640, 480}, source, {.cutSide = 4 * size, .speed = 3});
  composer.Make();
  return {composer.Method()->Tile().Width(), composer.Method()->Tile().Height()};
}

// The screen repeats the tile: each pixel equals the one a tile further
// right and a tile further down.
bool RepeatsEvery(const Shot& shot, Point tile) {
  if (tile.x <= 0 || tile.y <= 0 || tile.x >= shot.width || tile.y >= shot.height) return false;
  for (int y = 0; y + tile.y < shot.height; ++y)
    for (int x = 0; x + tile.x < shot.width; ++x) {
      const uint32_t p = shot.pixels[y * shot.width + x];
      if (p != shot.pixels[y * shot.width + x + tile.x] || p != shot.pixels[(y + tile.y) * shot.width + x])
        return false;
    }
  return true;
}

class DialogToSaver : public DialogTest {};

TEST_F(DialogToSaver, MethodPictureAndSizeChosenInTheDialogAreWhatTheSaverShows) {
  constexpr int kListPosition = 3;  // "タイル風"
  constexpr int32_t kSize = 16;
  constexpr int kWidth = 320, kHeight = 240;
  const int type = ListPositionToMethodType(kListPosition);
  const Point chosenTile = TileSize(type, kSize, kWidth, kHeight);
  const Point defaultTile = TileSize(ListPositionToMethodType(0), 8, kWidth, kHeight);
  ASSERT_NE(chosenTile, defaultTile) << "the tile sizes must tell the method and the size apart";

  TempFolder folder;
  const std::wstring picture = folder.File(L"blocks.bmp");
  WriteBmp(picture, kWidth, kHeight, &PictureColour);
  ASSERT_NO_FATAL_FAILURE(Open());
  SelectComboItem(Item(kIdMethodList), kListPosition);
  Click(Item(kIdImageFileRadio));
  SetText(Item(kIdImageFileEdit), picture);
  SetScrollPosition(Item(kIdSizeScroll), kSize);
  EXPECT_EQ(Text(Item(kIdSizeEdit)), std::to_wstring(kSize));
  SetScrollPosition(Item(kIdWeightScroll), 30);  // a frame every 300 ms: captures rarely meet a repaint
  ClickAsync(Item(kIdOkButton));
  ASSERT_TRUE(Session().Ended());

  SetCursorPos(300, 300);
  SaverProcess saver(L"/s");
  const HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  PumpFor(700);
  bool repeats = false;
  Shot shot;
  for (int attempt = 0; attempt < 5 && !repeats; ++attempt) {
    shot = Capture(wnd);
    repeats = RepeatsEvery(shot, chosenTile);
    if (!repeats) PumpFor(120);
  }
  EXPECT_TRUE(repeats) << "the screen repeats the chosen method's tile of " << chosenTile.x << " x "
                       << chosenTile.y;
  EXPECT_FALSE(RepeatsEvery(shot, defaultTile)) << "not the default method's tile";
  const std::set<uint32_t> colours(shot.pixels.begin(), shot.pixels.end());
  const std::set<uint32_t> palette(std::begin(kPalette), std::end(kPalette));
  EXPECT_TRUE(std::includes(palette.begin(), palette.end(), colours.begin(), colours.end()))
      << "only the picture's colours: " << colours.size() << " colours on the screen";
  PostKey(wnd, VK_SPACE);
  EXPECT_TRUE(saver.WaitForExit(kExitBound));
}

}  // namespace
}  // namespace tessivane::test
