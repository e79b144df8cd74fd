// Every file below a folder with a digest of its bytes, to tell which files a job touched.
#pragma once

#include <map>
#include <string>

namespace robustness {

// Path below the folder -> digest of the file's bytes (symbolic links by their target's bytes).
using FolderSnapshot = std::map<std::string, std::string>;

FolderSnapshot snapshotFolder(const std::string& folder);

} // namespace robustness
