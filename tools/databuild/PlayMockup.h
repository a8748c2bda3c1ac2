#pragma once

#include <string>

namespace vg::databuild {

// Composes a moment of play from the sprite sheets with the game's own blitters, the way the
// game draws them: ground, tanks with their shadows and turrets, a cannon, gunships, a bomber,
// small craft, pickups, the player's ship with options, shots and a beam, two hundred enemy
// bullets and several explosions. Writes "play.png" (the hot bullet set), "playCold.png" (the
// cold set, as while a player's energy is 0) and "play2x.png" into `outDir`, for review of the
// sheets in place. False when a sheet is missing or a file cannot be written.
bool writePlayMockup(const std::string& pictureDir, const std::string& outDir, std::string& error);

}  // namespace vg::databuild
