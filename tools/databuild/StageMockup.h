#pragma once

#include <string>

namespace vg::databuild {

// Composes stage 1 as the game shows it, with the game's blitters: windows of the background
// at chosen map positions (the sea at the start, the farmland, the airfield with the
// semi-boss, the forest and the fortress with the boss), with scenery objects, ground units,
// craft, the player's ship and enemy bullets over them. Writes "stage1.png" (the windows side
// by side at 1:1) and "stage1x2.png" (the same at twice the size) into `outDir`, for judging
// whether sprites and bullets read on the ground. False when a picture is missing or a file
// cannot be written.
bool writeStageMockup(const std::string& pictureDir, const std::string& outDir, std::string& error);

}  // namespace vg::databuild
