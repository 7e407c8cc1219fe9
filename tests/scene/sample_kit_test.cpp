// The sample kit the build generates: the shirt model's parts, materials, mapping and facing,
// the pictures beside it, and that the generator makes the same files every time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/picture_decoder.h"
#include "image/png_reader.h"
#include "kit_model.h"
#include "sample_kit.h"
#include "scene/clsFile3DS.h"
#include "scene_invariants.h"

namespace maglorin {
namespace {

std::filesystem::path BinFolder() {
    const char* bin = std::getenv("MAGLORIN_BIN");
    return bin != nullptr ? std::filesystem::path(bin) : std::filesystem::current_path();
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

Vec4 Minus(const Vec4& a, const Vec4& b) { return Vec4{a.x - b.x, a.y - b.y, a.z - b.z, 0}; }

Vec4 OutwardNormal(const MeshObject& mesh, const Face& face) {
    const Vec4& a = mesh.Vertices[static_cast<std::size_t>(face.A)].Position;
    const Vec4& b = mesh.Vertices[static_cast<std::size_t>(face.B)].Position;
    const Vec4& c = mesh.Vertices[static_cast<std::size_t>(face.C)].Position;
    const Vec4 u = Minus(b, a);
    const Vec4 v = Minus(c, a);
    return Vec4{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x, 0};
}

Vec4 Centroid(const MeshObject& mesh, const Face& face) {
    Vec4 sum{};
    for (std::int32_t i : {face.A, face.B, face.C}) {
        const Vec4& p = mesh.Vertices[static_cast<std::size_t>(i)].Position;
        sum = Vec4{sum.x + p.x / 3, sum.y + p.y / 3, sum.z + p.z / 3, 0};
    }
    return sum;
}

float Dot(const Vec4& a, const Vec4& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

class SampleKit : public ::testing::Test {
protected:
    void SetUp() override {
        clsFile3DS reader(scene);
        ASSERT_TRUE(reader.Read3DS(BinFolder() / "kit.3ds")) << reader.LastError();
        ASSERT_TRUE(test_support::SceneIsSafeToDraw(scene));
    }

    const MeshObject& Mesh(const std::string& name) const {
        for (std::int32_t m = 0; m <= scene.MeshUBound; ++m) {
            if (scene.Meshes[static_cast<std::size_t>(m)].Name == name) {
                return scene.Meshes[static_cast<std::size_t>(m)];
            }
        }
        ADD_FAILURE() << "no mesh " << name;
        return scene.Meshes[0];
    }

    Scene scene;
};

TEST_F(SampleKit, HasFrontBackAndSleeveMaterialsOnTheDefaultTexture) {
    ASSERT_GE(scene.MaterialUBound, 2);
    EXPECT_EQ(scene.Materials[0].Name, "Front");
    EXPECT_EQ(scene.Materials[1].Name, "Back");
    EXPECT_EQ(scene.Materials[2].Name, "Sleeves");
    for (int k = 0; k <= 2; ++k) {
        EXPECT_EQ(scene.Materials[k].TextureFile, "kit-home.jpg");
        EXPECT_TRUE(std::filesystem::exists(BinFolder() / scene.Materials[k].TextureFile));
    }
}

TEST_F(SampleKit, IsAFewThousandMappedTrianglesInFourParts) {
    ASSERT_EQ(scene.MeshUBound, 3);
    int triangles = 0;
    for (std::int32_t m = 0; m <= scene.MeshUBound; ++m) {
        const MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(m)];
        triangles += mesh.FaceUBound + 1;
        EXPECT_EQ(mesh.HasTexCoords, kTrue16) << mesh.Name;
        for (const TexCoord& t : mesh.TexCoords) {
            ASSERT_TRUE(t.u >= 0 && t.u <= 1 && t.v >= 0 && t.v <= 1) << mesh.Name;
        }
    }
    EXPECT_GE(triangles, 2000);
    EXPECT_LE(triangles, 8000);
    const std::pair<const char*, int> parts[] = {{"Front", 0}, {"Back", 1}, {"Sleeves", 2},
                                                 {"Collar", 0}};
    for (const auto& [name, material] : parts) {
        for (const Face& face : Mesh(name).Faces) {
            ASSERT_EQ(face.Material, material) << name;
        }
    }
}

TEST_F(SampleKit, FacesLookOutwards) {
    // Front towards +z, back towards -z (their middle rows, away from the shoulders).
    for (const auto& [name, side] : {std::pair{"Front", 1.0f}, std::pair{"Back", -1.0f}}) {
        for (const Face& face : Mesh(name).Faces) {
            const Vec4 centre = Centroid(Mesh(name), face);
            if (std::abs(centre.x) < 10 && centre.y > -20 && centre.y < 15) {
                ASSERT_GT(OutwardNormal(Mesh(name), face).z * side, 0.0f) << name;
            }
        }
    }
    // The collar away from the neck's axis.
    for (const Face& face : Mesh("Collar").Faces) {
        const Vec4 centre = Centroid(Mesh("Collar"), face);
        ASSERT_GT(Dot(OutwardNormal(Mesh("Collar"), face), Vec4{centre.x, 0, centre.z, 0}), 0.0f);
    }
    // Each sleeve away from its own middle.
    const MeshObject& sleeves = Mesh("Sleeves");
    for (float side : {-1.0f, 1.0f}) {
        Vec4 middle{};
        int count = 0;
        for (const Vertex& v : sleeves.Vertices) {
            if (v.Position.x * side > 0) {
                middle = Vec4{middle.x + v.Position.x, middle.y + v.Position.y,
                              middle.z + v.Position.z, 0};
                ++count;
            }
        }
        middle = Vec4{middle.x / count, middle.y / count, middle.z / count, 0};
        for (const Face& face : sleeves.Faces) {
            const Vec4 centre = Centroid(sleeves, face);
            if (centre.x * side > 0) {
                ASSERT_GT(Dot(OutwardNormal(sleeves, face), Minus(centre, middle)), 0.0f);
            }
        }
    }
}

TEST_F(SampleKit, HasTheShapeOfAShirt) {
    const MeshObject& front = Mesh("Front");
    const MeshObject& sleeves = Mesh("Sleeves");
    const MeshObject& collar = Mesh("Collar");
    // Taller than wide without sleeves; the sleeves reach well beyond the shoulders and end
    // above the waist; the collar stands above the neckline.
    const float torsoWidth = front.BoxVertices[1].Position.x - front.BoxVertices[0].Position.x;
    const float torsoHeight = front.BoxVertices[2].Position.y - front.BoxVertices[1].Position.y;
    EXPECT_GT(torsoHeight, torsoWidth * 1.3f);
    EXPECT_GT(sleeves.BoxVertices[1].Position.x, front.BoxVertices[1].Position.x + 8);
    EXPECT_LT(sleeves.BoxVertices[0].Position.x, front.BoxVertices[0].Position.x - 8);
    EXPECT_GT(sleeves.BoxVertices[0].Position.y, front.BoxVertices[0].Position.y + torsoHeight / 2);
    EXPECT_GT(collar.BoxVertices[2].Position.y, front.BoxVertices[2].Position.y);
    // Front and back meet along the sides: the back has a vertex on each side seam point.
    const MeshObject& back = Mesh("Back");
    int shared = 0;
    for (const Vertex& f : front.Vertices) {
        if (std::abs(f.Position.z) > 1e-4f) {
            continue;
        }
        for (const Vertex& b : back.Vertices) {
            if (std::abs(b.Position.x - f.Position.x) < 1e-4f &&
                std::abs(b.Position.y - f.Position.y) < 1e-4f && std::abs(b.Position.z) < 1e-4f) {
                ++shared;
                break;
            }
        }
    }
    EXPECT_GE(shared, 2 * 32);
}

TEST(SampleKitPictures, AreBesideTheModelAtTheirSizes) {
    const std::pair<const char*, std::pair<int, int>> pictures[] = {
        {"BG.jpg", {800, 600}},
        {"kit-home.jpg", {512, 512}},
        {"kit-away.jpg", {512, 512}},
        {"kit-template.png", {512, 512}}};
    for (const auto& [name, size] : pictures) {
        DecodedPicture picture;
        std::string error;
        const auto path = BinFolder() / name;
        const bool png = path.extension() == ".png";
        ASSERT_TRUE(png ? ReadPngFile(path, picture, error) : DecodePictureFile(path, picture, error))
            << name << ": " << error;
        EXPECT_EQ(picture.width, size.first) << name;
        EXPECT_EQ(picture.height, size.second) << name;
    }
}

TEST(SampleKitPictures, TheTemplateShowsEachPartWhereItsMappingLies) {
    DecodedPicture picture;
    std::string error;
    ASSERT_TRUE(ReadPngFile(BinFolder() / "kit-template.png", picture, error)) << error;
    const auto at = [&](const samples::TextureRegion& r, float fu, float fv) {
        const float u = r.u0 + (r.u1 - r.u0) * fu;
        const float v = r.v0 + (r.v1 - r.v0) * fv;
        return picture.At(static_cast<std::int32_t>(u * picture.width),
                          static_cast<std::int32_t>((1.0f - v) * picture.height));
    };
    // Filled part colours inside the regions (away from labels), white between them.
    EXPECT_NE(at(samples::kFrontRegion, 0.5f, 0.25f), 0xFFFFFFu);
    EXPECT_NE(at(samples::kBackRegion, 0.5f, 0.25f), 0xFFFFFFu);
    EXPECT_NE(at(samples::kFrontRegion, 0.5f, 0.25f), at(samples::kBackRegion, 0.5f, 0.25f));
    EXPECT_EQ(picture.At(picture.width / 2 + 1, picture.height / 2 + 3), 0xFFFFFFu);
}

TEST(SampleKitGenerator, MakesTheSameFilesEveryTime) {
    const auto first = std::filesystem::temp_directory_path() / "maglorin_kit_a";
    const auto second = std::filesystem::temp_directory_path() / "maglorin_kit_b";
    for (const auto& folder : {first, second}) {
        std::filesystem::create_directories(folder);
        std::string error;
        ASSERT_TRUE(samples::WriteSampleKit(folder.string(), error)) << error;
    }
    for (const char* name : {"kit.3ds", "BG.jpg", "kit-home.jpg", "kit-away.jpg",
                             "kit-template.png"}) {
        const auto bytes = ReadAll(first / name);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, ReadAll(second / name)) << name;
#if !defined(_WIN32)
        // The build's files are this generator's output (the win32 tree takes the files of
        // the native tool, whose maths library may round differently from this one).
        EXPECT_EQ(bytes, ReadAll(BinFolder() / name)) << name;
#endif
    }
    std::filesystem::remove_all(first);
    std::filesystem::remove_all(second);
}

TEST(SampleKitGenerator, AnUnwritableFolderIsReported) {
    std::string error;
    EXPECT_FALSE(samples::WriteSampleKit(
        (std::filesystem::temp_directory_path() / "no_such_folder_y" / "z").string(), error));
    EXPECT_NE(error.find("kit.3ds"), std::string::npos) << error;
}

}  // namespace
}  // namespace maglorin
