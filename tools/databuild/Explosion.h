#pragma once

#include <cairo.h>

#include <string>

#include "tools/databuild/Atlas.h"

namespace vg::databuild {

// Draws the animated explosion strips that are easier to compute than to draw by hand: every
// frame of the cell is one moment of a cloud of fire puffs that blooms, breaks up and fades,
// lit additively on black. The puffs come from a fixed-seed generator, so the same atlas gives
// the same pixels on every machine.
//
//   fireball   the common enemy explosion: orange puffs
//   fireball2  a small, quick pop of yellow puffs
//   bigblast   a large, slow explosion with scattered embers (big enemies)
//   flashburst a white-hot burst inside an opening shock ring
//   shipblast  the player's ship: a blue-white flash, a ring and a fireball
//   smoke      grey puffs that swell and soften, for Subtract
bool isExplosionKind(const std::string& gen);
bool renderExplosion(const AtlasCell& cell, cairo_surface_t* surface, std::string& error);

}  // namespace vg::databuild
