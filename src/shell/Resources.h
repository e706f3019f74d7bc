// Resource ids shared by Tessivane.rc and the code.
#pragma once

#define IDI_TESSIVANE 100   // the program icon
#define IDS_DESCRIPTION 1   // the name Windows lists for the saver
