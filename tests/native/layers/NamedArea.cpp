// Compiled with the include folders of the pattern area: an area it names.
#include "images/ImageEffect.h"
