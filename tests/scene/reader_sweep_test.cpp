// The sample model cut at every length, with its length fields and counts corrupted and with
// random bytes changed: the reader never crashes, hangs or leaves an index out of range (the
// sanitizer build checks the memory accesses of every one of these reads).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model_fixtures.h"
#include "scene/clsFile3DS.h"
#include "scene_invariants.h"

namespace maglorin {
namespace {

using namespace test_support;

struct ChunkSpan {
    std::size_t offset;
    std::uint32_t length;
    std::uint16_t id;
    std::size_t countOffset;  // offset of the chunk's 16-bit count, 0 when it has none
};

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// Where the children of a chunk start, or 0 for a chunk without children.
std::size_t ChildrenStart(const std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t id) {
    switch (id) {
        case chunk::kMain:
        case chunk::kEditor:
        case chunk::kMaterialBlock:
        case chunk::kTriangleMesh:
        case chunk::kTextureMap1:
            return at + 6;
        case chunk::kNamedObject: {
            std::size_t p = at + 6;
            while (b[p] != 0) {
                ++p;
            }
            return p + 1;
        }
        case chunk::kFaceList:
            return at + 8 + 8 * std::size_t{U16At(b, at + 6)};
        default:
            return 0;
    }
}

std::size_t CountOffset(const std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t id) {
    switch (id) {
        case chunk::kVertexList:
        case chunk::kFaceList:
        case chunk::kMappingCoordinates:
            return at + 6;
        case chunk::kFaceMaterialList: {
            std::size_t p = at + 6;
            while (b[p] != 0) {
                ++p;
            }
            return p + 1;
        }
        default:
            return 0;
    }
}

// Every chunk of a well-formed file, parents before their children.
void CollectChunks(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t to,
                   std::vector<ChunkSpan>& out) {
    while (from + 6 <= to) {
        const auto id = U16At(b, from);
        const auto length = U32At(b, from + 2);
        out.push_back(ChunkSpan{from, length, id, CountOffset(b, from, id)});
        if (const std::size_t children = ChildrenStart(b, from, id); children != 0) {
            CollectChunks(b, children, from + length, out);
        }
        from += length;
    }
}

std::vector<std::uint8_t> SampleModel() {
    const char* bin = std::getenv("MAGLORIN_BIN");
    const std::filesystem::path path = std::filesystem::path(bin ? bin : ".") / "kit.3ds";
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

class ReaderSweep : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = SampleModel();
        ASSERT_GT(bytes.size(), 10000u) << "kit.3ds missing from the bin folder";
        CollectChunks(bytes, 0, bytes.size(), chunks);
        ASSERT_GT(chunks.size(), 20u);
    }

    // Reads `size` bytes at `data` into the one scene of the test, as the viewer reloads its
    // scene; a load that succeeds must leave a scene the renderer can index.
    ::testing::AssertionResult ReadsSafely(const std::uint8_t* data, std::size_t size,
                                           bool& loaded) {
        MemoryByteSource source(data, size);
        clsFile3DS reader(scene);
        loaded = reader.Read3DSFrom(source);
        return loaded ? SceneIsSafeToDraw(scene) : ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult ReadsSafely(const std::vector<std::uint8_t>& file, bool& loaded) {
        return ReadsSafely(file.data(), file.size(), loaded);
    }

    Scene scene;
    std::vector<std::uint8_t> bytes;
    std::vector<ChunkSpan> chunks;
};

TEST_F(ReaderSweep, TheWholeSampleLoads) {
    bool loaded = false;
    EXPECT_TRUE(ReadsSafely(bytes, loaded));
    EXPECT_TRUE(loaded);
}

TEST_F(ReaderSweep, EveryCutIsRefused) {
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        bool loaded = true;
        ASSERT_TRUE(ReadsSafely(bytes.data(), length, loaded)) << "cut at " << length;
        ASSERT_FALSE(loaded) << "cut at " << length;
    }
}

// Cuts with the enclosing chunks' lengths shortened to match, so each cut reaches the handler
// of the chunk it falls into: every length near the start and end of every chunk (headers,
// counts, names, the last records), and every 7th length inside the long record blocks.
TEST_F(ReaderSweep, CutsWithMatchingContainerLengthsAreSafe) {
    std::vector<bool> nearEdge(bytes.size() + 1, false);
    for (const ChunkSpan& c : chunks) {
        for (std::size_t k = 0; k < 48; ++k) {
            nearEdge[std::min(bytes.size(), c.offset + k)] = true;
            nearEdge[c.offset + c.length - std::min<std::size_t>(k, c.length)] = true;
        }
    }
    std::size_t loads = 0;
    std::vector<std::uint8_t> work = bytes;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        if (!nearEdge[length] && length % 7 != 0) {
            continue;
        }
        for (const ChunkSpan& c : chunks) {
            const bool encloses = c.offset + 6 <= length && c.offset + c.length > length;
            PutU32At(work, c.offset + 2,
                     encloses ? static_cast<std::uint32_t>(length - c.offset) : c.length);
        }
        bool loaded = false;
        ASSERT_TRUE(ReadsSafely(work.data(), length, loaded)) << "cut at " << length;
        loads += loaded ? 1 : 0;
    }
    // Cuts between whole chunks after the first mesh still make a loadable model.
    EXPECT_GT(loads, 0u);
}

TEST_F(ReaderSweep, CorruptedLengthFieldsAreSafe) {
    for (const ChunkSpan& c : chunks) {
        const std::uint32_t rest = static_cast<std::uint32_t>(bytes.size() - c.offset);
        for (std::uint32_t value : {0u, 1u, 5u, 6u, 7u, 8u, c.length - 1, c.length + 1,
                                    c.length / 2, rest, rest + 1, 0x7FFFFFFFu, 0x80000000u,
                                    0xFFFFFFFFu}) {
            std::vector<std::uint8_t> file = bytes;
            PutU32At(file, c.offset + 2, value);
            bool loaded = false;
            ASSERT_TRUE(ReadsSafely(file, loaded))
                << "chunk at " << c.offset << " length " << value;
        }
    }
}

TEST_F(ReaderSweep, CorruptedCountsAreSafe) {
    std::size_t counted = 0;
    for (const ChunkSpan& c : chunks) {
        if (c.countOffset == 0) {
            continue;
        }
        ++counted;
        const std::uint16_t n = U16At(bytes, c.countOffset);
        for (std::uint16_t value : {std::uint16_t{0}, std::uint16_t{1},
                                    static_cast<std::uint16_t>(n - 1),
                                    static_cast<std::uint16_t>(n + 1), std::uint16_t{0x7FFF},
                                    std::uint16_t{0x8000}, std::uint16_t{0xFFFF}}) {
            std::vector<std::uint8_t> file = bytes;
            file[c.countOffset] = static_cast<std::uint8_t>(value);
            file[c.countOffset + 1] = static_cast<std::uint8_t>(value >> 8);
            bool loaded = false;
            ASSERT_TRUE(ReadsSafely(file, loaded)) << "count at " << c.countOffset << " = " << value;
        }
    }
    EXPECT_GE(counted, 10u);
}

TEST_F(ReaderSweep, CorruptedFaceIndicesAreSafe) {
    for (const ChunkSpan& c : chunks) {
        if (c.id != chunk::kFaceList && c.id != chunk::kFaceMaterialList) {
            continue;
        }
        const std::size_t first = c.countOffset + 2;  // first index word after the count
        for (std::uint16_t value : {std::uint16_t{0x7FFF}, std::uint16_t{0x8000},
                                    std::uint16_t{0xFFFF}, std::uint16_t{5000}}) {
            std::vector<std::uint8_t> file = bytes;
            file[first] = static_cast<std::uint8_t>(value);
            file[first + 1] = static_cast<std::uint8_t>(value >> 8);
            bool loaded = true;
            ASSERT_TRUE(ReadsSafely(file, loaded));
            EXPECT_FALSE(loaded) << "index " << value << " in the chunk at " << c.offset;
        }
    }
}

TEST_F(ReaderSweep, RandomlyChangedBytesAreSafe) {
    std::uint32_t state = 12345;  // fixed start: the same files every run
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> file = bytes;
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int k = 0; k < changes; ++k) {
            // Mostly near the headers at the start, where a change alters the structure.
            const std::size_t span = next() % 2 == 0 ? 2048 : file.size();
            file[next() % span] = static_cast<std::uint8_t>(next());
        }
        bool loaded = false;
        ASSERT_TRUE(ReadsSafely(file, loaded)) << "round " << round;
    }
}

}  // namespace
}  // namespace maglorin
