// Compiled with the include folders of the pattern area: an area it does
// not name, though images, which it names, includes it. Must not compile.
#include "codecs/PictureLoader.h"
