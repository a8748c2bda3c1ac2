#pragma once

#include <string>

namespace vg::databuild {

// Composes the screens that show the pictures (opening logo, title, difficulty choice, ship
// choice, options, name entry, score table, replay list and a stage with its side panels,
// warning, boss gauge, continue and game over) with the game's own blitters and fonts, the way
// the screens draw them, and writes them as PNGs into `outDir`: a review of the art in place.
// `pictureDir` holds the built pictures. False when a picture is missing or a file cannot be
// written.
bool writeMockups(const std::string& pictureDir, const std::string& outDir, std::string& error);

}  // namespace vg::databuild
