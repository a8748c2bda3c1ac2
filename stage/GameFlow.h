#pragma once

namespace vg {

class System;

// Where the stage flow hands over to screens outside it. Each puts the next start task at the
// very front of the task list (the front of layer 0).

// The end of a recorded game or single stage: name entry.
void goToNameEntry(System& system);
// The end of a replay watched from the replay list (or of a demo that holds no next stage): back
// to that list.
void goToReplayScreen(System& system);
// Neither recording nor playing back: the title.
void goToTitle(System& system);

}  // namespace vg
