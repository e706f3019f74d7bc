// Compiled with the include folders of the settings area: an area it names.
#include "pattern/MethodTable.h"
