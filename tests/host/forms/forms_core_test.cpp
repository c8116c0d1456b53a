// Portable parts of the forms layer: twips, the command line tail, the tick
// gate, property bags and font descriptions.
#include <gtest/gtest.h>

#include <string>

#include "command_line.h"
#include "font_description.h"
#include "handler_gate.h"
#include "property_bag.h"
#include "twips.h"

namespace {

TEST(Twips, ConversionsAtCommonResolutions) {
    struct Case {
        int dpi;
        double twips;
        double tpp;
        int pixels;
    } cases[] = {
        {96, 2280, 15, 152}, {96, 1680, 15, 112}, {120, 1824, 12, 152}, {144, 1440, 10, 144},
        {192, 15, 7.5, 2},   {96, 7, 15, 0},      {96, 8, 15, 1},       {0, 1500, 15, 100},
        {-5, 15, 15, 1},     {96, -22, 15, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_DOUBLE_EQ(forms::TwipsPerPixel(c.dpi), c.tpp);
        EXPECT_EQ(forms::TwipsToPixels(c.twips, forms::TwipsPerPixel(c.dpi)), c.pixels);
    }
    EXPECT_DOUBLE_EQ(forms::PixelsToTwips(152, 12), 1824);
    EXPECT_EQ(forms::TwipsToPixels(1e300, 15), INT32_MAX);
    EXPECT_EQ(forms::TwipsToPixels(100, 0), 0);
}

TEST(CommandLine, TextAfterTheProgramName) {
    struct Case {
        const char* line;
        const char* tail;
    } cases[] = {
        {"Orvanel.scr /s", "/s"},
        {"\"C:\\Program Files\\Orvanel.scr\" /p 1234", "/p 1234"},
        {"C:\\WINDOWS\\ORVANE~1.SCR   /c:1234  ", "/c:1234  "},
        {"\"C:\\a b\\x.scr\"/s", ""}, // quotes cover part of the name; no blank ends it
        {"C:\\\"a b\"\\x.scr\t-s", "-s"},
        {"Orvanel.scr", ""},
        {"", ""},
        {"\"unterminated name /s", ""},
        {"x.scr \"quoted arg\"", "\"quoted arg\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forms::CommandAfterProgramName(c.line), c.tail) << c.line;
    }
}

TEST(HandlerGate, TicksWaitForRunningHandlersAndModalLevels) {
    forms::HandlerGate gate;
    EXPECT_TRUE(gate.MayTick(0, false));
    EXPECT_FALSE(gate.MayTick(0, true)); // never inside its own handler

    gate.Enter(); // a handler runs (a message box inside it pumps messages)
    EXPECT_FALSE(gate.MayTick(0, false));
    gate.Leave();
    EXPECT_TRUE(gate.AtRest());

    // A modal show from the start-up code: every form's timers may tick
    // between handlers, none inside one.
    EXPECT_EQ(gate.BeginModal(), 1);
    EXPECT_TRUE(gate.MayTick(0, false));
    EXPECT_TRUE(gate.MayTick(1, false));
    gate.Enter();
    EXPECT_FALSE(gate.MayTick(1, false));
    gate.Leave();

    // A modal show from inside a handler of the modal form: the forms below
    // wait, since their tick would run inside that suspended handler.
    gate.Enter();
    EXPECT_EQ(gate.BeginModal(), 2);
    EXPECT_TRUE(gate.AtRest());
    EXPECT_TRUE(gate.MayTick(2, false));
    EXPECT_FALSE(gate.MayTick(1, false));
    EXPECT_FALSE(gate.MayTick(0, false));
    gate.EndModal();
    EXPECT_FALSE(gate.AtRest()); // back inside the handler that showed it
    gate.Leave();
    gate.EndModal();
    EXPECT_EQ(gate.Level(), 0);
    EXPECT_TRUE(gate.MayTick(0, false));

    gate.Leave(); // unbalanced: stays at rest
    EXPECT_EQ(gate.Depth(), 0);
}

TEST(PropertyBag, ValuesEqualToTheWriteDefaultAreNotStored) {
    struct Case {
        const char* key;
        const char* value;
        const char* writeDefault;
        const char* readDefault;
        bool stored;
        const char* readBack;
    } cases[] = {
        {"Caption", "Command", "Command", "Command1", false, "Command1"},
        {"Caption", "設定", "Command", "Command1", true, "設定"},
        {"Visible", "1", "1", "1", false, "1"},
        {"Visible", "0", "1", "1", true, "0"},
        {"Caption", "", "Command", "Command1", true, ""},
        {"Caption", "", "", "Command1", false, "Command1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        forms::PropertyBag bag;
        bag.Write(c.key, c.value, c.writeDefault);
        auto loaded = forms::PropertyBag::FromText(bag.ToText());
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->Contains(c.key), c.stored);
        EXPECT_EQ(loaded->Read(c.key, c.readDefault), c.readBack);
    }
}

TEST(PropertyBag, TypedValuesAndRewrites) {
    forms::PropertyBag bag;
    bag.WriteBool("Enabled", true, true);
    EXPECT_TRUE(bag.Empty());
    bag.WriteBool("Enabled", false, true);
    bag.WriteLong("FontColour", 0xFF00, 0);
    bag.WriteLong("FirstRun", 1, 1);
    EXPECT_EQ(bag.Read("Enabled", "x"), "0");
    EXPECT_FALSE(bag.ReadBool("Enabled", true));
    EXPECT_EQ(bag.ReadLong("FontColour", 0), 0xFF00);
    EXPECT_EQ(bag.ReadLong("FirstRun", 7), 7);
    // Writing the default again removes a stored value.
    bag.WriteBool("Enabled", true, true);
    EXPECT_FALSE(bag.Contains("Enabled"));
    EXPECT_TRUE(bag.ReadBool("Enabled", true));
    // A stored text that is not a number reads as the default.
    bag.Write("FirstRun", "abc", "1");
    EXPECT_EQ(bag.ReadLong("FirstRun", 1), 1);
    bag.Write("FontColour", "-2147483648", "0");
    EXPECT_EQ(bag.ReadLong("FontColour", 0), INT32_MIN);
    bag.Write("FontColour", "2147483648", "0");
    EXPECT_EQ(bag.ReadLong("FontColour", 5), 5);
}

TEST(PropertyBag, TextFormRoundTripsAnyCharacters) {
    forms::PropertyBag bag;
    bag.Write("a=b", "line1\nline2\r\\=end", "");
    bag.Write("Font", "975;0;128;ＭＳ Ｐゴシック", "");
    std::string text = bag.ToText();
    EXPECT_EQ(text, "Font=975;0;128;ＭＳ Ｐゴシック\na\\=b=line1\\nline2\\r\\\\\\=end\n");
    auto back = forms::PropertyBag::FromText(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, bag);
}

TEST(PropertyBag, ReadsOnlyWellFormedText) {
    struct Case {
        const char* text;
        bool ok;
        const char* key;
        const char* value;
    } cases[] = {
        {"", true, "k", "(none)"},      {"k=v\r\n\r\n", true, "k", "v"},
        {"k=1\nk=2\n", true, "k", "2"}, {"k=a=b", true, "k", "a=b"},
        {"=v", true, "", "v"},          {"novalue\n", false, "", ""},
        {"k=bad\\x", false, "", ""},    {"k=trailing\\", false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto bag = forms::PropertyBag::FromText(c.text);
        ASSERT_EQ(bag.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(bag->Read(c.key, "(none)"), c.value);
        }
    }
}

TEST(FontDescription, TextFormAndEquality) {
    forms::FontDescription f{"ＭＳ Ｐゴシック", 9.75, false, 128};
    EXPECT_EQ(forms::FontToText(f), "975;0;128;ＭＳ Ｐゴシック");
    auto back = forms::FontFromText(forms::FontToText(f));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, f);
    forms::FontDescription g = f;
    g.size = 9.751; // below a hundredth: the same size
    EXPECT_EQ(g, f);
    g.bold = true;
    EXPECT_NE(g, f);

    const char* bad[] = {
        "",        "975;0;128;",  "975;2;0;Arial", "0;0;0;Arial", "975;0;256;Arial", "x;0;0;Arial",
        "975;0;0", "975;0;0;A\nB"};
    for (const char* t : bad) {
        EXPECT_FALSE(forms::FontFromText(t)) << t;
    }
    auto semi = forms::FontFromText("825;1;0;Odd;Name");
    ASSERT_TRUE(semi);
    EXPECT_EQ(semi->name, "Odd;Name");
    EXPECT_TRUE(semi->bold);
}

TEST(FontDescription, HeightInPixels) {
    EXPECT_EQ(forms::FontHeightPixels(9.75, 96), 13);
    EXPECT_EQ(forms::FontHeightPixels(8.25, 96), 11);
    EXPECT_EQ(forms::FontHeightPixels(14, 96), 19);
    EXPECT_EQ(forms::FontHeightPixels(14, 120), 23);
    EXPECT_EQ(forms::FontHeightPixels(9.75, 0), 13);
}

} // namespace
