// The language of clipwright's messages and profile titles: --lang, else LC_ALL, LC_MESSAGES or
// LANG as the C library reads them; Chinese for "zh…", English otherwise.
#pragma once

#include <string>
#include <vector>

// "en_us" or "zh_cn" (or the code given); remembered for localized().
std::string chooseLanguage(const std::string& given);
// The languages profile titles come in.
const char* const kProfileLanguages[] = {"en_us", "zh_cn"};

// The message in the chosen language: the English text itself when it has no translation. Each
// "{1}", "{2}", ... of the text (English or translated) is replaced by that value, so a message
// with names or numbers in it is translated as a whole.
std::string localized(const std::string& english, const std::vector<std::string>& values = {});
