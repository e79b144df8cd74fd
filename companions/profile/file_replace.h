// Replacing a file's contents so that a failure leaves the old file as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace profilestore {

// Writes bytes into a temporary file beside target, then renames it over target. Returns
// VKO_PROFILE_OK or the error number of the step that failed (the temporary file is removed);
// error says why.
int32_t replaceFile(const std::filesystem::path& target, std::string_view bytes, std::string& error);

} // namespace profilestore
