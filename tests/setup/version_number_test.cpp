#include "version_number.h"

#include <gtest/gtest.h>

#include <string>

#include "configuration_test_text.h"

namespace maglorin {
namespace {

using test_support::Printable;

struct ParseCase {
    std::u16string text;
    int major, minor, build, revision;
    int partCount;
};

class VersionParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(VersionParsing, TakesTheFirstFourDigitRuns) {
    const ParseCase& c = GetParam();
    const VersionNumber version = VersionNumber::Parse(c.text);
    EXPECT_EQ(version, VersionNumber(c.major, c.minor, c.build, c.revision)) << Printable(c.text);
    EXPECT_EQ(version.Major(), c.major);
    EXPECT_EQ(version.Revision(), c.revision);
    EXPECT_EQ(version.PartCount(), c.partCount) << Printable(c.text);
}

const ParseCase kParseCases[] = {
    {u"1.2.3.4", 1, 2, 3, 4, 4},
    {u"v2-5 build 7", 2, 5, 7, 0, 3},
    {u"3.1", 3, 1, 0, 0, 2},
    {u"", 0, 0, 0, 0, 0},
    {u"no digits", 0, 0, 0, 0, 0},
    {u"1.2.3.4.5.6", 1, 2, 3, 4, 4},
    {u"007.0010", 7, 10, 0, 0, 2},
    {u"  4 , 0 , 30319", 4, 0, 30319, 0, 3},
    {u"2147483647.1", 2147483647, 1, 0, 0, 2},
    {u"2147483648.1", 0, 0, 0, 0, 0},
    {u"1.2.99999999999999999999999", 0, 0, 0, 0, 0},
    {u"1.2.3.4.99999999999", 1, 2, 3, 4, 4},  // a fifth run is never read
    {u"00000000000000000000009.1", 9, 1, 0, 0, 2},
    {u"-1.-2", 1, 2, 0, 0, 2},                  // signs are separators
    {u"1\x0663.2", 1, 2, 0, 0, 2},              // only ASCII digits count
    {u"65535.65535.65535.65535", 65535, 65535, 65535, 65535, 4},
};

INSTANTIATE_TEST_SUITE_P(Texts, VersionParsing, ::testing::ValuesIn(kParseCases));

struct PrintCase {
    VersionNumber version;
    std::u16string text;
};

class VersionPrinting : public ::testing::TestWithParam<PrintCase> {};

TEST_P(VersionPrinting, ShowsPartsUpToTheLastMeaningfulOne) {
    EXPECT_EQ(Printable(GetParam().version.ToText()), Printable(GetParam().text));
}

const PrintCase kPrintCases[] = {
    {VersionNumber(2, 0, 0, 0), u"2.0"},
    {VersionNumber(0, 0, 0, 0), u"0.0.0.0"},
    {VersionNumber(), u"0.0.0.0"},
    {VersionNumber(3, 1, 0, 0), u"3.1"},
    {VersionNumber(1, 2, 3, 0), u"1.2.3"},
    {VersionNumber(1, 2, 3, 4), u"1.2.3.4"},
    {VersionNumber(1, 0, 0, 4), u"1.0.0.4"},
    {VersionNumber(0, 0, 0, 1), u"0.0.0.1"},
    {VersionNumber(0, 5, 0, 0), u"0.5"},
    {VersionNumber(1, 2, 65535, 65535), u"1.2"},
    {VersionNumber(1, 65535, 3, 65535), u"1.65535.3"},
    {VersionNumber(65535, 65535, 65535, 65535), u"65535.65535"},
    {VersionNumber(2147483647, 0, 0, 0), u"2147483647.0"},
};

INSTANTIATE_TEST_SUITE_P(Versions, VersionPrinting, ::testing::ValuesIn(kPrintCases));

TEST(VersionNumber, ComparesPartByPartFromMajor) {
    EXPECT_LT(VersionNumber::Parse(u"1.1.9.9"), VersionNumber::Parse(u"1.2"));
    EXPECT_LT(VersionNumber::Parse(u"1.2"), VersionNumber::Parse(u"1.2.0.1"));
    EXPECT_GT(VersionNumber::Parse(u"10.0"), VersionNumber::Parse(u"9.99.99.99"));
    EXPECT_LT(VersionNumber::Parse(u"4.0.30319"), VersionNumber::Parse(u"4.0.30319.1"));
    EXPECT_EQ(VersionNumber::Parse(u"3.1"), VersionNumber::Parse(u"3.1.0.0")) << "the part count plays no role";
    EXPECT_GT(VersionNumber(0, 0, 0, 1), VersionNumber());
}

TEST(VersionNumber, KnowsTheOpenBounds) {
    EXPECT_TRUE(VersionNumber::Parse(u"").IsZero());
    EXPECT_TRUE(VersionNumber::Parse(u"99999999999").IsZero());
    EXPECT_FALSE(VersionNumber::Parse(u"0.0.0.1").IsZero());
    EXPECT_TRUE(VersionNumber::Parse(u"65535.65535.65535.65535").IsAllMaximum());
    EXPECT_FALSE(VersionNumber::Parse(u"65535.65535.65535").IsAllMaximum());
}

TEST(VersionNumber, PrintedTextReadsBackAsTheSameVersion) {
    for (const PrintCase& c : kPrintCases) {
        if (c.version.IsAllMaximum()) continue;  // 65535 parts are dropped from the text on purpose
        bool trailingMaximum = c.version.Revision() == 65535 || c.version.Build() == 65535;
        if (trailingMaximum) continue;
        EXPECT_EQ(VersionNumber::Parse(c.version.ToText()), c.version) << Printable(c.version.ToText());
    }
}

}  // namespace
}  // namespace maglorin
