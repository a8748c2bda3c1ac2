// Stand-in until the continue screen exists: it ends at once. The pause-and-continue work
// replaces this file.
#include "screens/Continue.h"

namespace vg {

void Continue::draw(DIB&) {
    end();
}

}  // namespace vg
