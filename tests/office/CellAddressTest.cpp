#include "office/CellAddress.h"

#include <gtest/gtest.h>

using namespace vexlo::office;

TEST(CellAddress, ParsesCellTexts) {
    struct Case {
        const char* text;
        std::optional<CellAddress> expected;
    };
    const Case cases[] = {
        {"D13", CellAddress{13, 4}},  {"d13", CellAddress{13, 4}},     {"$E$13", CellAddress{13, 5}},
        {" A1 ", CellAddress{1, 1}},  {"AA10", CellAddress{10, 27}},   {"AMJ1048576", CellAddress{kMaxRows, kMaxColumns}},
        {"AMK1", std::nullopt},       {"A1048577", std::nullopt},      {"A0", std::nullopt},
        {"13", std::nullopt},         {"D", std::nullopt},             {"", std::nullopt},
        {"D 13", std::nullopt},       {"sheet1.D13", std::nullopt},    {"R1C1", std::nullopt},
        {"D13x", std::nullopt},       {"ZZZZZZZZZ1", std::nullopt},    {"A99999999999", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseCellAddress(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(CellAddress, ParsesRangeTextsInAnyCornerOrder) {
    struct Case {
        const char* text;
        std::optional<RangeAddress> expected;
    };
    const Case cases[] = {
        {"A13:G62", RangeAddress{{13, 1}, {62, 7}}},
        {"G62:A13", RangeAddress{{13, 1}, {62, 7}}},
        {"A62:G13", RangeAddress{{13, 1}, {62, 7}}},
        {"D13", RangeAddress{{13, 4}, {13, 4}}},
        {"A13:G612", RangeAddress{{13, 1}, {612, 7}}},
        {"A13:", std::nullopt},
        {":G62", std::nullopt},
        {"A1:B2:C3", std::nullopt},
        {"A13:G", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseRangeAddress(QString::fromLatin1(c.text)), c.expected) << c.text;
    EXPECT_EQ(parseRangeAddress("A13:G62")->rowCount(), 50);
}

TEST(CellAddress, ColumnNamesRoundTrip) {
    for (int column : {1, 2, 26, 27, 52, 53, 702, 703, kMaxColumns}) {
        const QString name = columnName(column);
        EXPECT_EQ(parseCellAddress(name + "1"), (CellAddress{1, column})) << column;
    }
    EXPECT_EQ(columnName(0), QString());
    EXPECT_EQ(columnName(kMaxColumns + 1), QString());
}

TEST(CellAddress, CellValueText) {
    struct Case {
        QVariant value;
        const char* text;
    };
    const Case cases[] = {
        {3.0, "3"},     {QVariant(3), "3"},   {-0.0, "0"},        {2.5, "2.5"},       {0.1, "0.1"},
        {1e20, "1e+20"}, {QVariant(), ""},    {QString(), ""},    {QString("李四"), "李四"},
        {123456789012345.0, "123456789012345"},
    };
    for (const auto& c : cases) EXPECT_EQ(cellValueText(c.value), QString::fromUtf8(c.text)) << c.text;
}
