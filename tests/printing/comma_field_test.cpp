// Walking comma-separated port lists and profile values in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/comma_field.h"

namespace {

std::vector<std::string> Fields(std::string text, int calls)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    char* cursor = buffer.data();
    std::vector<std::string> fields;
    for (int i = 0; i < calls; ++i)
        fields.push_back(NextCommaField(cursor));
    return fields;
}

TEST(NextCommaField, FieldsLoseLeadingSpacesKeepTrailingOnesAndAreEmptyAtTheEnd)
{
    EXPECT_EQ(Fields("LPT1:, FILE:", 2), (std::vector<std::string>{"LPT1:", "FILE:"}));
    EXPECT_EQ(Fields("  Laser ,winspool,LPT1:", 3), (std::vector<std::string>{"Laser ", "winspool", "LPT1:"}));
    // At the end every further field is empty.
    EXPECT_EQ(Fields("a,,b,", 6), (std::vector<std::string>{"a", "", "b", "", "", ""}));
    EXPECT_EQ(Fields("", 2), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Fields("   ", 2), (std::vector<std::string>{"", ""}));
}

TEST(NextCommaField, CursorPointingNowhereYieldsNothing)
{
    char* cursor = nullptr;
    EXPECT_EQ(NextCommaField(cursor), nullptr);
    EXPECT_EQ(cursor, nullptr);
}

TEST(NextCommaField, CommaIsCutOffInPlaceAndTheCursorMovesPastIt)
{
    char text[] = "PDF,wineps.drv,CUPS:PDF";
    char* cursor = text;
    char* first = NextCommaField(cursor);
    EXPECT_EQ(first, text);
    EXPECT_STREQ(first, "PDF");
    EXPECT_EQ(cursor, text + 4);
    NextCommaField(cursor);
    char* last = NextCommaField(cursor);
    EXPECT_STREQ(last, "CUPS:PDF");
    EXPECT_EQ(*cursor, '\0');
    EXPECT_EQ(cursor, text + sizeof(text) - 1);
}

}  // namespace
