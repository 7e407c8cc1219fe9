// Material textures: the path helpers, loading picture files into both texture surfaces (bottom
// row first), the picture browser seam and the mapping of file coordinates to texels.
#include "scene/material_textures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/clsFileBMP.h"
#include "image/picture_decoder.h"

namespace maglorin {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() / ("maglorin-textures-" + std::to_string(std::rand()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 4 x 3 picture whose pixels name their position: 0x00RRGGBB with red = 10 * x, green = 10 * y.
DecodedPicture PositionPicture() {
    DecodedPicture picture;
    picture.width = 4;
    picture.height = 3;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) picture.pixels.push_back(static_cast<std::uint32_t>((10 * x) << 16 | (10 * y) << 8 | 7));
    }
    return picture;
}

// The picture as a 24-bit BMP file, a format the viewer reads.
bool WritePictureBmp(const std::string& path, const DecodedPicture& picture) {
    clsDIB surface;
    PixelView pixels;
    surface.CreateFromPictureBox(picture, picture.width, picture.height, pixels, false);
    if (!pixels.Attached()) return false;
    WriteBytes(path, EncodeBMP24(surface, picture.width, picture.height));
    return true;
}

Scene SceneWithMaterials(int count) {
    Scene scene;
    for (int i = 0; i < count; ++i) AppendMaterial(scene);
    return scene;
}

TEST(FileExists, NeedsAReadableNonEmptyFile) {
    TempFolder folder;
    WriteBytes(folder.File("full.bin"), {1, 2, 3});
    WriteBytes(folder.File("empty.bin"), {});
    EXPECT_TRUE(FileExists(folder.File("full.bin")));
    EXPECT_FALSE(FileExists(folder.File("empty.bin")));
    EXPECT_FALSE(FileExists(folder.File("missing.bin")));
    EXPECT_FALSE(FileExists(folder.File("")));
    EXPECT_FALSE(FileExists(""));
}

TEST(PathHelpers, SplitAtTheLastSeparator) {
    struct Case {
        std::string path, folder, name;
    };
    const std::vector<Case> cases = {
        {"C:\\a\\kit.3ds", "C:\\a\\", "kit.3ds"},
        {"/opt/maglorin/kit.3ds", "/opt/maglorin/", "kit.3ds"},
        {"kit.3ds", "", "kit.3ds"},
        {"C:\\a/b\\c.jpg", "C:\\a/b\\", "c.jpg"},
        {"C:\\folder\\", "C:\\folder\\", ""},
        {"", "", "-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    }
}

TEST(LoadMaterialTexture, FillsBothSurfacesBottomRowFirst) {
    TempFolder folder;
    ASSERT_TRUE(WritePictureBmp(folder.File("pos.bmp"), PositionPicture()));
    Scene scene = SceneWithMaterials(2);
    LoadMaterialTexture(scene, 1, folder.File("pos.bmp"));
    const Material& m = scene.Materials[1];
    ASSERT_EQ(m.HasTexture, kTrue16);
    for (const PixelView* view : {&m.TexturePixels, &m.TextureWorkPixels}) {
        ASSERT_TRUE(view->Attached());
        EXPECT_EQ(view->width, 4);
        EXPECT_EQ(view->height, 3);
        // Row 0 of a texture surface is the picture's bottom row (y = 2).
        EXPECT_EQ((*view)(0, 0), 0x00001407u);
        EXPECT_EQ((*view)(3, 0), 0x001E1407u);
        EXPECT_EQ((*view)(3, 2), 0x001E0007u);
    }
    EXPECT_NE(m.TexturePixels.data, m.TextureWorkPixels.data) << "two surfaces, not one shared";
    EXPECT_EQ(scene.Materials[0].HasTexture, kFalse16);
}

TEST(LoadMaterialTexture, ReadsBmpGifAndJpegPictures) {
    TempFolder folder;
    clsDIB frame;
    PixelView pixels;
    frame.Create(5, 2, pixels, false);
    pixels(4, 1) = 0x00FF0000;
    WriteBytes(folder.File("frame.bmp"), EncodeBMP24(frame, 5, 2));
    // A one-pixel GIF: palette entry 0 is white.
    WriteBytes(folder.File("dot.gif"),
               {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x21, 0xF9, 4, 0, 0, 0,
                0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B});
    DecodedPicture big;
    big.width = 16;
    big.height = 8;
    big.pixels.assign(16 * 8, 0x00808080u);
    ASSERT_TRUE(WritePictureJpeg(folder.File("grey.jpg"), big, 90));

    Scene scene = SceneWithMaterials(3);
    LoadMaterialTexture(scene, 0, folder.File("frame.bmp"));
    LoadMaterialTexture(scene, 1, folder.File("dot.gif"));
    LoadMaterialTexture(scene, 2, folder.File("grey.jpg"));
    ASSERT_EQ(scene.Materials[0].HasTexture, kTrue16);
    EXPECT_EQ(scene.Materials[0].TextureWorkPixels(4, 0), 0x00FF0000u) << "bottom-right pixel of the frame";
    ASSERT_EQ(scene.Materials[1].HasTexture, kTrue16);
    EXPECT_EQ(scene.Materials[1].TextureWorkPixels.width, 1);
    EXPECT_EQ(scene.Materials[1].TextureWorkPixels(0, 0), 0x00FFFFFFu);
    ASSERT_EQ(scene.Materials[2].HasTexture, kTrue16);
    EXPECT_EQ(scene.Materials[2].TextureWorkPixels.width, 16);
    EXPECT_EQ(scene.Materials[2].TextureWorkPixels.height, 8);
}

TEST(LoadMaterialTexture, MissingEmptyOrBrokenFilesLeaveTheMaterialUntextured) {
    TempFolder folder;
    ASSERT_TRUE(WritePictureBmp(folder.File("pos.bmp"), PositionPicture()));
    WriteBytes(folder.File("empty.jpg"), {});
    WriteBytes(folder.File("broken.jpg"), {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4, 5});
    Scene scene = SceneWithMaterials(1);
    // A PNG file is a picture, but not one the viewer takes.
    ASSERT_TRUE(WritePicturePng(folder.File("pos.png"), PositionPicture()));
    for (const std::string name : {"missing.jpg", "empty.jpg", "broken.jpg", "pos.png"}) {
        LoadMaterialTexture(scene, 0, folder.File("pos.bmp"));
        ASSERT_EQ(scene.Materials[0].HasTexture, kTrue16);
        LoadMaterialTexture(scene, 0, folder.File(name));
        EXPECT_EQ(scene.Materials[0].HasTexture, kFalse16) << name;
    }
    EXPECT_FALSE(scene.Materials[0].TextureWorkPixels.Attached()) << "an undecodable picture releases the surfaces";
    // Indices without a material change nothing.
    LoadMaterialTexture(scene, 1, folder.File("pos.bmp"));
    LoadMaterialTexture(scene, -1, folder.File("pos.bmp"));
    EXPECT_EQ(scene.Materials.size(), 1u);
}

TEST(BrowsePicture, AsksTheDialogWithThePictureFilter) {
    PictureDialogRequest seen;
    const PictureDialog dialog = [&](const PictureDialogRequest& request) {
        seen = request;
        return std::string("C:\\kits\\home.jpg");
    };
    EXPECT_EQ(BrowsePicture(dialog, "C:\\kits\\", "Load Texture"), "C:\\kits\\home.jpg");
    EXPECT_EQ(seen.DialogTitle, "Load Texture");
    EXPECT_EQ(seen.InitDir, "C:\\kits\\");
    EXPECT_EQ(seen.FileName, "");
    EXPECT_EQ(seen.Filter,
              "All Picture Files|*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.cur |Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
              "GIF Images (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg,*.jpeg|All Files (*.*)|*.*");
    EXPECT_EQ(BrowsePicture(PictureDialog(), "C:\\", "x"), "") << "no dialog counts as cancelled";
}

// One mesh with a single face over vertices 0, 1, 2 and material 0 with an 11 x 21 working texture
// (W = 10, H = 20).
Scene MappingScene() {
    Scene scene = SceneWithMaterials(1);
    Material& m = scene.Materials[0];
    m.TextureWork.Create(11, 21, m.TextureWorkPixels, true);
    m.HasTexture = kTrue16;
    MeshObject mesh;
    mesh.VertexUBound = 2;
    mesh.Vertices.resize(3);
    mesh.ScreenPoints.resize(3);
    Face face;
    face.A = 0;
    face.B = 1;
    face.C = 2;
    mesh.Faces = {face};
    mesh.FaceUBound = 0;
    mesh.HasTexCoords = kTrue16;
    mesh.TexCoords = {{0.0f, 0.0f}, {1.0f, 1.0f}, {0.5f, 0.25f}};
    mesh.MappedTexCoords.resize(3);
    mesh.TexCoordUBound = 2;
    scene.Meshes.push_back(std::move(mesh));
    scene.MeshUBound = 0;
    return scene;
}

struct MappingCase {
    std::string name;
    float uScale, vScale, uOffset, vOffset, rotation;
    TexCoord expected1;  // the mapping of vertex 1, file coordinate (1, 1)
};

TEST(MapFaceTexCoords, AppliesTilingOffsetAndRoundedRotation) {
    const std::vector<MappingCase> cases = {
        {"plain: (1, 1) is the last texel", 1, 1, 0, 0, 0, {10.0f, 20.0f}},
        {"tiled twice across", 2, 1, 0, 0, 0, {20.0f, 20.0f}},
        {"offset moves by texels", 1, 1, 0.5f, -0.1f, 0, {5.0f, 22.0f}},
        {"a quarter turn is exact", 1, 1, 0, 0, 90.0f, {-20.0f, 10.0f}},
        {"half turn", 1, 1, 0, 0, 180.0f, {-10.0f, -20.0f}},
        // cos 30 = 0.866025 and sin 30 = 0.5 after rounding to six places
        {"thirty degrees", 1, 1, 0, 0, 30.0f, {0.866025f * 10.0f - 0.5f * 20.0f, 0.866025f * 20.0f + 0.5f * 10.0f}},
    };
    for (const MappingCase& c : cases) {
        Scene scene = MappingScene();
        Material& m = scene.Materials[0];
        m.UScale = c.uScale;
        m.VScale = c.vScale;
        m.UOffset = c.uOffset;
        m.VOffset = c.vOffset;
        m.Rotation = c.rotation;
        MapFaceTexCoords(scene, 0, 0);
        const TexCoord got = scene.Meshes[0].MappedTexCoords[1];
        EXPECT_FLOAT_EQ(got.u, c.expected1.u) << c.name;
        EXPECT_FLOAT_EQ(got.v, c.expected1.v) << c.name;
    }
}

TEST(MapFaceTexCoords, RoundsCosineAndSineToSixPlaces) {
    EXPECT_EQ(RoundedCosSin(90.0f).cs, 0.0f);
    EXPECT_EQ(RoundedCosSin(90.0f).sn, 1.0f);
    EXPECT_EQ(RoundedCosSin(30.0f).cs, 0.866025f);
    EXPECT_EQ(RoundedCosSin(-45.0f).sn, -0.707107f);
    EXPECT_EQ(RoundedCosSin(0.0f).cs, 1.0f);
}

TEST(MapFaceTexCoords, LeavesUntexturedOrInconsistentFacesAlone) {
    const TexCoord untouched{-7.0f, -7.0f};
    const auto mappedAfter = [&](auto change) {
        Scene scene = MappingScene();
        scene.Meshes[0].MappedTexCoords.assign(3, untouched);
        change(scene);
        MapFaceTexCoords(scene, 0, 0);
        MapFaceTexCoords(scene, 0, 5);
        MapFaceTexCoords(scene, 3, 0);
        return scene.Meshes[0].MappedTexCoords;
    };
    const auto isUntouched = [&](const std::vector<TexCoord>& list) {
        for (const TexCoord& t : list) {
            if (t.u != untouched.u || t.v != untouched.v) return false;
        }
        return true;
    };
    EXPECT_TRUE(isUntouched(mappedAfter([](Scene& s) { s.Meshes[0].HasTexCoords = kFalse16; })));
    EXPECT_TRUE(isUntouched(mappedAfter([](Scene& s) { s.Materials[0].HasTexture = kFalse16; })));
    EXPECT_TRUE(isUntouched(mappedAfter([](Scene& s) { s.Meshes[0].Faces[0].Material = 4; })));
    EXPECT_TRUE(isUntouched(mappedAfter([](Scene& s) { s.MaterialUBound = -1; })));
    // A vertex beyond the mapping list is skipped; the others are still mapped.
    const std::vector<TexCoord> partial = mappedAfter([](Scene& s) { s.Meshes[0].Faces[0].C = 9; });
    EXPECT_FLOAT_EQ(partial[1].u, 10.0f);
    EXPECT_EQ(partial[2].u, untouched.u);
}

}  // namespace
}  // namespace maglorin
