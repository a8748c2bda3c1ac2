#pragma once

#include <string>
#include <vector>

namespace vg {

// The pictures every screen needs (the shared sheets that the first task loads; "frame.png"
// holds the fonts and panels of every screen). The game does not start without them.
inline constexpr const char* kEssentialPictures[] = {"frame.png", "bullet.png", "ship.png",
                                                     "item.png",  "enemy.png",  "exp.png"};

// Checks, before the frame loop, that "data.pck" in `dataFolder` can be read and that every
// essential picture decodes from it (a truncated or damaged file loses entries or their bytes).
// Reads only; a loose picture file does not count. Empty when all is well, otherwise what is
// wrong, naming the file.
std::string checkGameData(const std::string& dataFolder);

// What the game says when it cannot start for want of its data: the problem, the folders it
// looked in (when given) and how to build the data.
std::string missingDataMessage(const std::vector<std::string>& lookedIn);
std::string unusableDataMessage(const std::string& problem);

}  // namespace vg
