// Profile records made in tests, and comparing records field by field.
#pragma once

#include "vkoProfileDll.h"

#include <deque>
#include <string>
#include <vector>

namespace profiletest {

struct OptionSpec {
    std::string value;
    std::vector<std::string> names; // one per language; empty: the value in every language
};

// A ProfileXmlInfo together with the texts and arrays it points to.
class RecordBuilder {
public:
    RecordBuilder(const std::string& name, int32_t categoryId);
    RecordBuilder(const RecordBuilder&) = delete;
    RecordBuilder& operator=(const RecordBuilder&) = delete;

    RecordBuilder& language(const std::string& code, const std::string& name, const std::string& description,
                            const std::string& categoryName);
    RecordBuilder& param(const std::string& name, int32_t valueType, const std::vector<OptionSpec>& options,
                         int32_t selectedIndex);

    ProfileXmlInfo& record() { return record_; }

private:
    char* keep(const std::string& text);

    ProfileXmlInfo record_{};
    std::deque<std::string> texts_;
    std::deque<std::vector<ProfileParamOption>> options_;
    std::vector<ProfileParam> params_;
};

// Text of a record's pointer field, "" for null.
std::string textOf(const char* text);

// Expects two records to describe the same profile; the file names are compared only when asked.
void expectSameProfile(const ProfileXmlInfo& expected, const ProfileXmlInfo& actual, bool compareFileNames);

// The profile names of a list, in order.
std::vector<std::string> profileNames(const ProfileXmlList& list);

} // namespace profiletest
