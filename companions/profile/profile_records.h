// Conversion between the store's profiles and the C records handed to callers.
#pragma once

#include "profile_model.h"
#include "vkoProfileDll.h"

#include <optional>
#include <string>

namespace profilestore {

// Fills record from a valid profile; the pointed-to texts and arrays come from the store's memory.
void fillRecord(const Profile& profile, ProfileXmlInfo& record);

// Reads a caller's record; on a record that cannot be read safely (a language count out of range,
// a missing array, an unterminated text) returns nothing and sets error.
std::optional<Profile> profileFromRecord(const ProfileXmlInfo& record, std::string& error);

} // namespace profilestore
