// File names and messages in JSON: any bytes come back exactly, and UTF-8 stays readable text.
#include "bytes_json.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct BytesCase {
    const char* name;
    std::string bytes;
    bool plainString;  // written as a JSON string rather than as hex
};

class BytesJson : public ::testing::TestWithParam<BytesCase> {};

TEST_P(BytesJson, ComeBackExactlyThroughAJsonDocument)
{
    const BytesCase& c = GetParam();
    const QJsonValue written = bytesToJson(c.bytes);
    EXPECT_EQ(written.isString(), c.plainString);
    // Through the text form, as a job list file or a worker's line carries it.
    const QByteArray line = QJsonDocument(QJsonObject{{"path", written}}).toJson(QJsonDocument::Compact);
    const QJsonValue read = QJsonDocument::fromJson(line).object().value(QLatin1String("path"));
    EXPECT_EQ(bytesFromJson(read), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, BytesJson,
    ::testing::Values(BytesCase{"empty", "", true}, BytesCase{"ascii", "/music/song 1.wav", true},
                      BytesCase{"utf8", "/m\xc3\xbasica/caf\xc3\xa9 \xe6\x97\xa5.wav", true},
                      BytesCase{"latin1", "/musik/caf\xe9.wav", false},
                      BytesCase{"cutUtf8", "/a/\xc3", false},
                      BytesCase{"controlAndQuote", "a\"b\\c\td", true},
                      BytesCase{"highBytes", "\xff\xfe\x80", false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(BytesJson, AnythingElseReadsAsEmpty)
{
    EXPECT_EQ(bytesFromJson(QJsonValue(42)), "");
    EXPECT_EQ(bytesFromJson(QJsonValue()), "");
    EXPECT_EQ(bytesFromJson(QJsonObject{{"other", "x"}}), "");
}

} // namespace
