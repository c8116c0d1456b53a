// Number and text services of the forms layer.
#include "text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(NumberText, LeadingBlankWhenNotNegative) {
    const struct {
        std::int64_t n;
        const char* text;
    } cases[] = {
        {2, " 2"}, {0, " 0"}, {-1, "-1"}, {32767, " 32767"}, {-32768, "-32768"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forms::NumberToText(c.n), c.text) << c.n;
    }
}

TEST(NumberText, HashHashPattern) {
    const struct {
        std::int64_t n;
        const char* text;
    } cases[] = {
        {0, ""}, {7, "7"}, {10, "10"}, {123, "123"}, {-5, "-5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forms::FormatHashHash(c.n), c.text) << c.n;
    }
}

TEST(NumberText, ReadLeadingNumberStopsAtFirstForeignCharacter) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1234", 1234},    {" 1234", 1234},
        {"12 34", 1234},   {"\t1\n2", 12},
        {"1234abc", 1234}, {"12.5x", 12.5},
        {"-7", -7},        {"+7", 7},
        {"- 7", -7},       {".5", 0.5},
        {"1.2.3", 1.2},    {"2e3", 2000},
        {"2D2", 200},      {"2e", 2},
        {"2e+", 2},        {"2e-1", 0.2},
        {"", 0},           {"abc", 0},
        {":1234", 0},      {"-", 0},
        {".", 0},          {"--5", 0},
        {"0x10", 0},       {"1e-400", 0},
        {"007", 7},        {"0.000125", 0.000125},
    };
    for (const auto& c : cases) {
        std::optional<double> v = forms::ReadLeadingNumber(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
    EXPECT_FALSE(forms::ReadLeadingNumber("1e400").has_value());
    EXPECT_FALSE(forms::ReadLeadingNumber("9e99999999999999999999").has_value());
}

TEST(NumberText, ParseNumberTextNeedsTheWholeText) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"2", true, 2},         {" 2", true, 2},      {"2 ", true, 2},      {"\t-3\t", true, -3},
        {"2.9", true, 2.9},     {"-0.5", true, -0.5}, {"+4", true, 4},      {".25", true, 0.25},
        {"3.", true, 3},        {"1e3", true, 1000},  {"1E-2", true, 0.01}, {"2d1", true, 20},
        {"70000", true, 70000}, {"1e-400", true, 0},  {"", false, 0},       {" ", false, 0},
        {"abc", false, 0},      {"2x", false, 0},     {"1 2", false, 0},    {"2e", false, 0},
        {"e5", false, 0},       {".", false, 0},      {"-", false, 0},      {"1.2.3", false, 0},
        {"--1", false, 0},      {"1e400", false, 0},  {"0x10", false, 0},   {"2\n", false, 0},
    };
    for (const auto& c : cases) {
        std::optional<double> v = forms::ParseNumberText(c.text);
        ASSERT_EQ(v.has_value(), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
        }
    }
}

TEST(NumberText, RoundingHalvesToEvenWithRangeCheck) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::optional<std::int16_t> i16;
        std::optional<std::int32_t> i32;
    } cases[] = {
        {2.5, 2, 2},
        {3.5, 4, 4},
        {-2.5, -2, -2},
        {-3.5, -4, -4},
        {0.5, 0, 0},
        {1.5, 2, 2},
        {2.4999, 2, 2},
        {2.5001, 3, 3},
        {32767.4, 32767, 32767},
        {32767.5, std::nullopt, 32768},
        {-32768.5, -32768, -32768},
        {-32769, std::nullopt, -32769},
        {2147483647.0, std::nullopt, 2147483647},
        {2147483647.5, std::nullopt, std::nullopt},
        {-2147483648.5, std::nullopt, -2147483647 - 1},
        {inf, std::nullopt, std::nullopt},
        {std::nan(""), std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forms::RoundToInt16(c.value), c.i16) << c.value;
        EXPECT_EQ(forms::RoundToInt32(c.value), c.i32) << c.value;
    }
}

TEST(NumberText, FloorWhole) {
    EXPECT_EQ(forms::FloorWhole(2.9), 2.0);
    EXPECT_EQ(forms::FloorWhole(-0.5), -1.0);
    EXPECT_EQ(forms::FloorWhole(-2.0), -2.0);
    EXPECT_EQ(forms::FloorWhole(0.0), 0.0);
}

TEST(Text, UpperCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(forms::UpperCase("/s"), "/S");
    EXPECT_EQ(forms::UpperCase("mp3.Wav"), "MP3.WAV");
    EXPECT_EQ(forms::UpperCase("z\xe9\x8b\xe6"), "Z\xe9\x8b\xe6");
}

TEST(Text, FirstLastAndMiddleCharacters) {
    EXPECT_EQ(forms::LeftChars("abcdef", 2), "ab");
    EXPECT_EQ(forms::LeftChars("ab", 5), "ab");
    EXPECT_EQ(forms::RightChars("song.mp3", 3), "mp3");
    EXPECT_EQ(forms::RightChars("p3", 3), "p3");
    EXPECT_EQ(forms::RightChars("abc", 0), "");
    const struct {
        const char* text;
        std::size_t start, count;
        const char* part;
    } cases[] = {
        {"/p 1234", 2, 1, "p"}, {"/p 1234", 4, std::string_view::npos, "1234"},
        {"/p", 4, 5, ""},       {"/s", 2, 1, "s"},
        {"s", 2, 1, ""},        {"", 1, 1, ""},
        {"abc", 0, 2, "ab"},    {"abc", 3, 10, "c"},
        {"abc", 4, 1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forms::MidChars(c.text, c.start, c.count), c.part)
            << c.text << " " << c.start << " " << c.count;
    }
}

TEST(Text, FindText) {
    const struct {
        const char* text;
        const char* what;
        std::size_t start, at;
    } cases[] = {
        {"abcabc", "bc", 1, 2}, {"abcabc", "bc", 3, 5}, {"abcabc", "x", 1, 0},
        {"abc", "", 2, 2},      {"abc", "", 4, 0},      {"", "", 1, 0},
        {"abc", "abcd", 1, 0},  {"abc", "c", 4, 0},     {"abc", "a", 0, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forms::FindText(c.text, c.what, c.start), c.at)
            << c.text << " / " << c.what << " @" << c.start;
    }
}

} // namespace
