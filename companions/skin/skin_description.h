// A parsed skin description file: names, bitmap folder and the items of each section.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vkoAnalyzeImg.h"

namespace vko::skin {

struct StoredItem {
    std::string picture;
    std::string fontColor;
    SkinItem item{};
};

struct Section {
    std::string name;
    std::map<std::string, StoredItem> items;
};

struct SkinDescription {
    std::string englishName;
    std::string otherName;
    std::string imageFolder;
    std::vector<Section> sections;
};

struct ParseOutcome {
    std::unique_ptr<SkinDescription> skin;
    std::string error;
};

// Reads a description file; on failure skin is null and error says why.
ParseOutcome parseSkinFile(const std::string& path);

}  // namespace vko::skin
