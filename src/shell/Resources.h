// Resource ids shared by Tessivane.rc and the code.
#pragma once

#include "dialogs/DialogResources.h"  // the program icon and the button glyphs

#define IDS_DESCRIPTION 1  // the name Windows lists for the saver
