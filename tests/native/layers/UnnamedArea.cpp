// Compiled with the include folders of the settings area: an area it does
// not name, though pattern, which it names, includes it. Must not compile.
#include "images/ImageEffect.h"
