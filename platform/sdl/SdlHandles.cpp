#include "platform/sdl/SdlHandles.h"
