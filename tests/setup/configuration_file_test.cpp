#include "configuration_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "configuration_test_text.h"

namespace maglorin {
namespace {

using test_support::IniSource;
using test_support::Printable;

// One file and one lookup with the value it must give (nullptr = absent).
struct LookupCase {
    const char* behaviour;
    std::u16string text;
    std::u16string section;
    std::u16string key;
    const char16_t* expected;
};

class ConfigurationLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ConfigurationLookup, GivesTheFirstMatchAfterTrimming) {
    const LookupCase& c = GetParam();
    const std::vector<std::byte> source = IniSource(c.text);
    const ConfigurationFile file = ConfigurationFile::Parse(source);
    const std::u16string* value = file.FindKey(c.section, c.key);
    if (c.expected == nullptr) {
        EXPECT_EQ(value, nullptr) << c.behaviour << ": found " << Printable(value ? *value : u"");
    } else {
        ASSERT_NE(value, nullptr) << c.behaviour;
        EXPECT_EQ(Printable(*value), Printable(c.expected)) << c.behaviour;
    }
}

const LookupCase kLookupCases[] = {
    {"plain key", u"[S]\r\nk=v\r\n", u"S", u"k", u"v"},
    {"blanks around '=' are trimmed", u"[S]\r\n  k \t=  v w \t\r\n", u"S", u"k", u"v w"},
    {"leading control characters before a key are skipped", u"[S]\r\n\x01\x1F k=v", u"S", u"k", u"v"},
    {"a value keeps its inner '='", u"[S]\r\nk=a=b\r\n", u"S", u"k", u"a=b"},
    {"empty value is present", u"[S]\r\nk=\r\n", u"S", u"k", u""},
    {"key text is case-sensitive", u"[S]\r\nKey=v\r\n", u"S", u"key", nullptr},
    {"section name is case-sensitive", u"[s]\r\nk=v\r\n", u"S", u"k", nullptr},
    {"blanks inside the brackets are part of the name", u"[ S ]\r\nk=v\r\n", u"S", u"k", nullptr},
    {"blanks inside the brackets are kept", u"[ S ]\r\nk=v\r\n", u" S ", u"k", u"v"},
    {"blanks before '[' and after ']' are ignored", u"  [S]  \t\r\nk=v\r\n", u"S", u"k", u"v"},
    {"the name runs to the last ']'", u"[a]b]\r\nk=v\r\n", u"a]b", u"k", u"v"},
    {"'[' without a closing ']' is a key line", u"[S]\r\n[x=1\r\n", u"S", u"[x", u"1"},
    {"']' not last makes a key line", u"[S]\r\n[x]=1\r\n", u"S", u"[x]", u"1"},
    {"a line without '=' is ignored", u"[S]\r\njunk\r\nk=v\r\n", u"S", u"k", u"v"},
    {"keys before the first section are dropped", u"k=v\r\n[S]\r\n", u"S", u"k", nullptr},
    {"duplicate keys: the first wins", u"[S]\r\nk=1\r\nk=2\r\n", u"S", u"k", u"1"},
    {"duplicate sections: only the first is searched", u"[S]\r\na=1\r\n[S]\r\nk=2\r\n", u"S", u"k", nullptr},
    {"duplicate sections: the first's key wins", u"[S]\r\nk=1\r\n[S]\r\nk=2\r\n", u"S", u"k", u"1"},
    {"a lone LF does not end a line", u"[S]\r\nk=a\nb=c\r\n", u"S", u"k", u"a\nb=c"},
    {"a lone CR inside a value stays", u"[S]\r\nk=a\rb\r\n", u"S", u"k", u"a\rb"},
    {"a line may start with a lone LF", u"[S]\r\n\nk=v\r\n", u"S", u"k", u"v"},
    {"no line break at the end", u"[S]\r\nk=v", u"S", u"k", u"v"},
    {"a second byte-order mark is removed", u"\xFEFF[S]\r\nk=v\r\n", u"S", u"k", u"v"},
    {"a third mark is not", u"\xFEFF\xFEFF[S]\r\nk=v\r\n", u"S", u"k", nullptr},
    {"a mark later in the text stays", u"[S]\r\n\xFEFFk=v\r\n", u"S", u"\xFEFFk", u"v"},
    {"empty section name", u"[]\r\nk=v\r\n", u"", u"k", u"v"},
    {"non-ASCII text", u"[S]\r\nName=Caf\xE9 \x4E2D\r\n", u"S", u"Name", u"Caf\xE9 \x4E2D"},
    {"an empty key", u"[S]\r\n=v\r\n", u"S", u"", u"v"},
};

INSTANTIATE_TEST_SUITE_P(Rules, ConfigurationLookup, ::testing::ValuesIn(kLookupCases));

TEST(ConfigurationFile, KeepsDuplicateSectionsAndKeysInFileOrder) {
    const std::vector<std::byte> source = IniSource(u"[A]\r\nk=1\r\nk=2\r\n[B]\r\n[A]\r\nk=3\r\n");
    const ConfigurationFile file = ConfigurationFile::Parse(source);
    ASSERT_EQ(file.Sections().size(), 3u);
    EXPECT_EQ(file.Sections()[0].entries.size(), 2u);
    EXPECT_EQ(file.Sections()[2].name, u"A");
    EXPECT_EQ(file.Sections()[2].entries[0].value, u"3");
    EXPECT_EQ(file.FindSection(u"A"), &file.Sections()[0]);
    EXPECT_EQ(file.FindSection(u"C"), nullptr);
}

TEST(ConfigurationFile, ParsesEntryDataAsThePackageReaderGivesIt) {
    const std::vector<std::byte> source = IniSource(u"[S]\r\nk=v\r\n");
    std::vector<std::uint8_t> data;
    for (std::byte b : source) data.push_back(std::to_integer<std::uint8_t>(b));
    const ConfigurationFile file = ConfigurationFile::Parse(std::span<const std::uint8_t>(data));
    ASSERT_NE(file.FindKey(u"S", u"k"), nullptr);
    EXPECT_EQ(*file.FindKey(u"S", u"k"), u"v");
}

TEST(ConfigurationFile, TheFirstTwoBytesAreSkippedWhateverTheyHold) {
    std::vector<std::byte> source = test_support::Utf16LeBytes(u"XX[S]\r\nk=v\r\n");
    source.erase(source.begin(), source.begin() + 2);  // "X[S]..." as stored: X takes the mark's place
    const ConfigurationFile file = ConfigurationFile::Parse(source);
    ASSERT_NE(file.FindKey(u"S", u"k"), nullptr);
}

TEST(ConfigurationFile, ShortAndOddSourcesGiveWhatTheyHold) {
    EXPECT_TRUE(ConfigurationFile::Parse(std::span<const std::byte>()).Sections().empty());
    const std::byte one[] = {std::byte{0xFF}};
    EXPECT_TRUE(ConfigurationFile::Parse(one).Sections().empty());
    std::vector<std::byte> odd = IniSource(u"[S]\r\nk=v");
    odd.push_back(std::byte{0x41});  // half a character at the end is dropped
    const ConfigurationFile file = ConfigurationFile::Parse(odd);
    ASSERT_NE(file.FindKey(u"S", u"k"), nullptr);
    EXPECT_EQ(*file.FindKey(u"S", u"k"), u"v");
}

TEST(ConfigurationFile, ToleratesEveryCharacterCode) {
    std::u16string text = u"[S]\r\n";
    for (char32_t c = 0; c <= 0xFFFF; ++c) text += static_cast<char16_t>(c);
    text += u"=x\r\n[T]\r\nk=v";
    const std::vector<std::byte> source = IniSource(text);
    const ConfigurationFile file = ConfigurationFile::Parse(source);
    ASSERT_NE(file.FindKey(u"T", u"k"), nullptr);
}

bool IsWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Random sources built from the characters the parser cares about: whatever they hold, every key
// is the trimmed text before a line's first "=", every value is trimmed, and no line break
// survives inside either.
TEST(ConfigurationFile, ArbitrarySourcesGiveWellFormedEntries) {
    const char16_t kAlphabet[] = {u'[', u']', u'=', u'\r', u'\n', u' ', u'\t', 0xFEFF, u'a', u'\0', 0xD800, u'\x01'};
    std::uint32_t lcg = 12345;
    auto next = [&lcg] { return (lcg = lcg * 1664525u + 1013904223u) >> 8; };
    for (int round = 0; round < 3000; ++round) {
        std::u16string text;
        const std::uint32_t length = next() % 200;
        for (std::uint32_t i = 0; i < length; ++i) text += kAlphabet[next() % std::size(kAlphabet)];
        const std::vector<std::byte> source = IniSource(text);
        const ConfigurationFile file = ConfigurationFile::Parse(source);
        for (const ConfigurationSection& section : file.Sections()) {
            for (const ConfigurationEntry& entry : section.entries) {
                for (const std::u16string* part : {&entry.key, &entry.value}) {
                    ASSERT_EQ(part->find(u"\r\n"), std::u16string::npos) << Printable(text);
                    if (part->empty()) continue;
                    ASSERT_FALSE(IsWhiteSpace(part->front())) << Printable(text);
                    ASSERT_FALSE(IsWhiteSpace(part->back())) << Printable(text);
                }
                ASSERT_EQ(entry.key.find(u'='), std::u16string::npos) << Printable(text);
                if (!entry.key.empty()) {
                    ASSERT_GT(entry.key.front(), u' ') << "leading controls are skipped";
                }
            }
        }
    }
}

class ConfigurationFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("maglorin_config_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    void Write(const std::vector<std::byte>& bytes) {
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::path path_;
};

TEST_F(ConfigurationFileOnDisk, ReadsAWholeFile) {
    Write(IniSource(u"[GeneralOptions]\r\nOptions=qb\r\n"));
    ConfigurationFile file;
    ASSERT_EQ(LoadConfigurationFile(path_, file), kConfigurationLoaded);
    ASSERT_NE(file.FindKey(u"GeneralOptions", u"Options"), nullptr);
    EXPECT_EQ(*file.FindKey(u"GeneralOptions", u"Options"), u"qb");
}

TEST_F(ConfigurationFileOnDisk, ReadsTheEntryWindowInsideAPackage) {
    std::vector<std::byte> bytes(1000, std::byte{0x5A});
    const std::vector<std::byte> ini = IniSource(u"[S]\r\nk=inside\r\n");
    bytes.insert(bytes.begin() + 300, ini.begin(), ini.end());
    Write(bytes);
    ConfigurationFile file;
    ASSERT_EQ(LoadConfigurationFile(path_, 300, ini.size(), file), kConfigurationLoaded);
    ASSERT_NE(file.FindKey(u"S", u"k"), nullptr);
    EXPECT_EQ(*file.FindKey(u"S", u"k"), u"inside");
}

TEST_F(ConfigurationFileOnDisk, UnreadableSourcesAreReadErrors) {
    Write(IniSource(u"[S]\r\nk=v\r\n"));
    const std::uint64_t size = std::filesystem::file_size(path_);
    ConfigurationFile file;
    EXPECT_EQ(LoadConfigurationFile(path_, 0, size + 1, file), kConfigurationReadError) << "past the end";
    EXPECT_EQ(LoadConfigurationFile(path_, size, 2, file), kConfigurationReadError) << "starts at the end";
    EXPECT_EQ(LoadConfigurationFile(path_, 1, ~std::uint64_t{0}, file), kConfigurationReadError)
        << "a size that wraps the offset";
    EXPECT_EQ(LoadConfigurationFile(path_, ~std::uint64_t{0}, 4, file), kConfigurationReadError);
    EXPECT_EQ(LoadConfigurationFile(path_, 0, 1, file), kConfigurationReadError) << "less than the mark";
    EXPECT_EQ(LoadConfigurationFile(path_.string() + ".missing", file), kConfigurationReadError);
    EXPECT_EQ(LoadConfigurationFile(std::filesystem::temp_directory_path(), file), kConfigurationReadError)
        << "a folder";
    Write({});
    EXPECT_EQ(LoadConfigurationFile(path_, file), kConfigurationReadError) << "empty file";
}

}  // namespace
}  // namespace maglorin
