// Folder listing for the image shelf.
#pragma once
#include <string>
#include <vector>

#include "base/FileSystem.h"

namespace tessivane {

// Adds the name of every entry of `folder` to `list`, as the system returns
// it: "." and "..", subfolders, hidden and system entries included. Nothing
// happens without a list; an empty folder name throws
// std::out_of_range(the range-check message); a folder that does not exist
// or cannot be reached adds nothing. The result tells a missing folder from
// one that exists but could not be listed.
ListFolderResult ListFiles(const std::string& folder, std::vector<std::string>* list);

}  // namespace tessivane
