#include "folder_snapshot.h"

#include "media_fixture.h"

#include <filesystem>
#include <functional>

namespace robustness {

FolderSnapshot snapshotFolder(const std::string& folder)
{
    FolderSnapshot snapshot;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error))
            continue;
        std::string bytes = testsupport::readFile(it->path().string());
        snapshot[std::filesystem::relative(it->path(), folder).string()] =
            std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>{}(bytes));
    }
    return snapshot;
}

} // namespace robustness
