#include "instance_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_test_text.h"

namespace maglorin {
namespace {

using test_support::IniSource;

std::vector<InstanceRecord> InstancesOf(std::u16string_view text) {
    const std::vector<std::byte> source = IniSource(text);
    return ReadInstances(ConfigurationFile::Parse(source));
}

constexpr std::u16string_view kStartup = u"[STARTUP]\r\nProductCode={BASE}\r\nProductVersion=1.4.2\r\n";

TEST(InstanceRecord, BaseInstanceComesFromStartup) {
    const std::vector<InstanceRecord> instances = InstancesOf(kStartup);
    ASSERT_EQ(instances.size(), 1u);
    EXPECT_EQ(instances[0].transformName, u"");
    EXPECT_EQ(instances[0].productCode, u"{BASE}");
    EXPECT_EQ(instances[0].version, VersionNumber(1, 4, 2, 0));
    EXPECT_FALSE(instances[0].installed);
    EXPECT_FALSE(instances[0].olderInstalled);
}

TEST(InstanceRecord, StartupNeedsBothKeys) {
    EXPECT_TRUE(InstancesOf(u"[STARTUP]\r\nProductCode={BASE}\r\n").empty());
    EXPECT_TRUE(InstancesOf(u"[STARTUP]\r\nProductVersion=1.0\r\n").empty());
    EXPECT_TRUE(InstancesOf(u"[INSTANCES]\r\ninst1=a\r\n[inst1]\r\nProductCode={A}\r\n").empty());
}

TEST(InstanceRecord, NumberedInstancesFollowInOrder) {
    std::u16string text(kStartup);
    text += u"[INSTANCES]\r\ninst2=second\r\ninst1=first\r\n"
            u"[inst2]\r\nProductCode={TWO}\r\n[inst1]\r\nProductCode={ONE}\r\n";
    const std::vector<InstanceRecord> instances = InstancesOf(text);
    ASSERT_EQ(instances.size(), 3u);
    EXPECT_EQ(instances[1].transformName, u"first");
    EXPECT_EQ(instances[1].productCode, u"{ONE}");
    EXPECT_EQ(instances[2].transformName, u"second");
    EXPECT_EQ(instances[2].productCode, u"{TWO}");
}

struct GapCase {
    const char* behaviour;
    std::u16string rest;
    std::size_t count;
};

class InstanceListEnd : public ::testing::TestWithParam<GapCase> {};

TEST_P(InstanceListEnd, StopsAtTheFirstIncompleteInstance) {
    const std::vector<InstanceRecord> instances = InstancesOf(std::u16string(kStartup) + GetParam().rest);
    EXPECT_EQ(instances.size(), GetParam().count) << GetParam().behaviour;
}

const GapCase kGapCases[] = {
    {"no INSTANCES section", u"[inst1]\r\nProductCode={A}\r\n", 1},
    {"inst1 and inst3 without inst2",
     u"[INSTANCES]\r\ninst1=a\r\ninst3=c\r\n[inst1]\r\nProductCode={A}\r\n[inst3]\r\nProductCode={C}\r\n", 2},
    {"key without its section", u"[INSTANCES]\r\ninst1=a\r\n", 1},
    {"section without ProductCode", u"[INSTANCES]\r\ninst1=a\r\n[inst1]\r\nProductVersion=2\r\n", 1},
    {"section without key", u"[INSTANCES]\r\ninst2=b\r\n[inst1]\r\nProductCode={A}\r\n", 1},
    {"numbers are not padded", u"[INSTANCES]\r\ninst01=a\r\n[inst01]\r\nProductCode={A}\r\n", 1},
    {"names are case-sensitive", u"[INSTANCES]\r\nInst1=a\r\n[inst1]\r\nProductCode={A}\r\n", 1},
    {"the first of duplicate sections counts",
     u"[INSTANCES]\r\ninst1=a\r\n[inst1]\r\nX=1\r\n[inst1]\r\nProductCode={A}\r\n", 1},
};

INSTANTIATE_TEST_SUITE_P(Gaps, InstanceListEnd, ::testing::ValuesIn(kGapCases));

TEST(InstanceRecord, ReadsALongInstanceListInOnePass) {
    std::u16string text(kStartup);
    std::u16string keys = u"[INSTANCES]\r\n";
    std::u16string sections;
    constexpr int kCount = 20000;
    for (int i = 1; i <= kCount; ++i) {
        const std::string n = std::to_string(i);
        const std::u16string number(n.begin(), n.end());
        keys += u"inst" + number + u"=t" + number + u"\r\n";
        sections += u"[inst" + number + u"]\r\nProductCode={" + number + u"}\r\n";
    }
    const std::vector<InstanceRecord> instances = InstancesOf(text + keys + sections);
    ASSERT_EQ(instances.size(), static_cast<std::size_t>(kCount + 1));
    EXPECT_EQ(instances.back().transformName, u"t20000");
    EXPECT_EQ(instances.back().productCode, u"{20000}");
}

}  // namespace
}  // namespace maglorin
