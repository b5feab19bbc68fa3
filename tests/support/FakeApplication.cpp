// The fake application object is header-only; this unit keeps it compiled on its
// own so that a broken header shows up in the support library's build.
#include "support/FakeApplication.h"
