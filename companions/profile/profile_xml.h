// Profile files: one XML document per profile.
//
//   <profile name="..." format="mp4" extension="mp4" media="video" device="0" category="2"
//            builtin="true">
//     <language code="en_us">
//       <name>...</name> <description>...</description> <category>...</category>
//     </language>
//     <param name="ab" type="integer">              (type: integer, text or real)
//       <option value="96000" label="96 kbps"/>      (label: the name in every language)
//       <option value="128000" selected="true">      (exactly one option is selected)
//         <name lang="zh_cn">...</name>              (the name in one language)
//       </option>
//     </param>
//   </profile>
//
// An option without a label or name shows its value.
#pragma once

#include "profile_model.h"

#include <filesystem>
#include <optional>
#include <string>

namespace profilestore {

// Reads a profile file and names it fileName; on failure, or when the profile is not valid,
// returns nothing and sets error.
std::optional<Profile> readProfileFile(const std::filesystem::path& path, const std::string& fileName,
                                       std::string& error);

// The profile as the text of a profile file. The file name is not part of it.
std::string profileToXml(const Profile& profile);

} // namespace profilestore
