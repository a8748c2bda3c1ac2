#pragma once

#include <cstdint>

namespace vg {

class System;

// A play field without a stage: for tests, benchmarks and the headless tool, and the way they set
// up play until (and besides) the stage flow. It ends every task, then makes what a stage makes
// for its ships: the field view (scroll 16), a plain background with a faint grid that shows the
// field scroll, the shadow renderers of enemies, items and ships, the collision display, and one
// or two ships with the usual start values (2 spare ships, 3 bombs, 32 energy, power 0). The
// shared random generator is seeded as at a stage start and enemy serials count from 0 again.
//
//     startTestScene(system, 0);                     // TYPE-A alone, ready to play
//     startTestScene(system, 1, 3);                  // TYPE-B and TYPE-B2
//     startTestScene(system, 2, -1, {.start = TestStart::Entering});
//
// Enemies, bullets and pickups are then added by the caller (fireAimed, spawnFront ...), and the
// ships are driven by the button bytes of the frame step as in a stage.
enum class TestStart {
    Ready,     // Normal at the entry spot (x 80 or 160, y 250): plays at once
    Entering,  // as after a lost ship: flies in for 60 frames, then 180 invincible
    Waiting,   // as at a stage start: 148 frames of waiting before entering
};

struct TestSceneOptions {
    TestStart start = TestStart::Ready;
    // Loads the play pictures (bullet, ship, item, enemy, exp, frame) from "data.pck" in the
    // working folder (or loose files) into the image slots that are still empty.
    bool loadImages = true;
    // Colour of the empty field (0xRRGGBB).
    uint32_t background = 0x18202c;
};

// Ship types 0..3 ("TYPE-A".."TYPE-B2") for players 0 and 1; any other value leaves that player
// out. Returns how many ships were made.
int startTestScene(System& system, int shipType0, int shipType1 = -1,
                   const TestSceneOptions& options = {});

}  // namespace vg
