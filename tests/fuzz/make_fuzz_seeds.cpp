// Writes the starting inputs of the fuzz targets with our own writers: models with the 3DS writer,
// packages with the packer's writer, pictures with the picture and BMP writers (and a small GIF
// writer here), setup.ini as UTF-16 text. Archives come from 7zz (make_fuzz_seeds.sh).
//   make-fuzz-seeds OUT     -> OUT/<target>/<input>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/clsDIB.h"
#include "image/clsFileBMP.h"
#include "image/picture_decoder.h"
#include "kit_model.h"
#include "kit_pictures.h"
#include "package_writer.h"
#include "scene/model_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace maglorin;
using namespace maglorin::samples;

bool Save(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    if (!WriteFileBytes(path.string(), bytes)) {
        std::fprintf(stderr, "make-fuzz-seeds: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

ModelDescription Triangle() {
    ModelDescription model;
    ModelMaterial red;
    red.name = "red";
    red.red = 220;
    red.textureFile = "kit.png";
    red.vOffset = 0.25f;
    red.rotation = 30.0f;
    red.transparencyPercent = 50;
    model.materials.push_back(red);
    ModelMesh mesh;
    mesh.name = "tri";
    mesh.vertices = {Vec4{0, 0, 0, 1}, Vec4{1, 0, 0, 1}, Vec4{0, 1, 0.5f, 1}};
    mesh.faces = {ModelFace{0, 1, 2, 7}};
    mesh.faceMaterials = {ModelFaceMaterial{"red", {0}}};
    mesh.texCoords = {TexCoord{0, 0}, TexCoord{1, 0}, TexCoord{0, 1}};
    model.meshes.push_back(mesh);
    return model;
}

// Two meshes, the second without mapping, sharing two materials.
ModelDescription TwoMeshes() {
    ModelDescription model = Triangle();
    ModelMaterial blue;
    blue.name = "blue";
    blue.blue = 240;
    model.materials.push_back(blue);
    ModelMesh quad;
    quad.name = "quad";
    quad.vertices = {Vec4{-1, -1, 0, 1}, Vec4{1, -1, 0, 1}, Vec4{1, 1, 0, 1}, Vec4{-1, 1, 0, 1}};
    quad.faces = {ModelFace{0, 1, 2, 7}, ModelFace{0, 2, 3, 3}};
    quad.faceMaterials = {ModelFaceMaterial{"blue", {0, 1}}};
    model.meshes.push_back(quad);
    return model;
}

bool WriteModels(const fs::path& folder) {
    return Save(folder / "triangle.3ds", Write3DS(Triangle())) &&
           Save(folder / "two-meshes.3ds", Write3DS(TwoMeshes())) &&
           Save(folder / "kit.3ds", Write3DS(BuildKitModel("kit.png")));
}

std::vector<std::uint8_t> Utf16Text(const std::u16string& text) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

const std::u16string kConfiguration =
    u"[STARTUP]\r\nProductCode={12345678-1234-1234-1234-123456ABCDEF}\r\nProductVersion=2.5.700.1\r\n"
    u"DefaultProdCode={12345678-1234-1234-1234-123456ABCDEF}\r\nLangs=1033,1031\r\n"
    u"ExtractionFolder=[ProgramFilesFolder]\\Maglorin\\ . \\kit\r\nKeepFiles=minimum\r\n"
    u"MainAppCmdLine=/qb TARGET=\"%TEMP%\\x\" KEY=!HKLM\\Software\\Torvexa\\Path!\r\n"
    u"[INSTANCES]\r\ninst1=inst1.mst\r\ninst2=inst2.mst\r\n"
    u"[inst1]\r\nProductCode={AAAAAAAA-1234-1234-1234-123456ABCDEF}\r\n"
    u"[inst2]\r\nProductCode={BBBBBBBB-1234-1234-1234-123456ABCDEF}\r\n";

std::vector<std::uint8_t> Utf16Bytes(const std::u16string& text) {
    std::vector<std::uint8_t> bytes = Utf16Text(text);
    bytes.erase(bytes.begin(), bytes.begin() + 2);  // command lines carry no byte-order mark
    return bytes;
}

bool WriteCommandLines(const fs::path& folder) {
    return Save(folder / "install.txt", Utf16Bytes(u"\"C:\\Setup\\setup.exe\" /qb /L1031 TARGETDIR=\"C:\\x\"")) &&
           Save(folder / "groups.txt", Utf16Bytes(u"setup.exe /groupsextract:\"100;7\" /out:\"C:\\o\" /callbackid:9003")) &&
           Save(folder / "extract.txt", Utf16Bytes(u"setup.exe /extract:\"C:\\o\" /exelog:\"C:\\l.txt\" /OriginalPath:\"C:\\s.exe\"")) &&
           Save(folder / "indirect.txt", Utf16Bytes(u"/cmdloc HKLM\\Software\\Torvexa\\CommandLine"));
}

bool WriteConfigurations(const fs::path& folder) {
    return Save(folder / "setup.ini", Utf16Text(kConfiguration)) &&
           Save(folder / "minimal.ini", Utf16Text(u"[STARTUP]\r\nProductVersion=1\r\n"));
}

PackageName AsciiName(const std::string& text) { return PackageName(text.begin(), text.end()); }

std::vector<std::uint8_t> Filler(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(first + i * 7);
    }
    return bytes;
}

bool WritePackages(const fs::path& folder) {
    PackageContents shipped;
    shipped.programImage = Filler(600, 1);
    shipped.entries.push_back({PayloadGroup::SetupFiles, PayloadFileType::Configuration, 0, AsciiName("setup.ini"),
                               Utf16Text(kConfiguration)});
    shipped.entries.push_back({PayloadGroup::ExtractionLibrary, PayloadFileType::ExtractionLibrary, 0,
                               AsciiName("decoder.dll"), Filler(90, 2)});
    shipped.entries.push_back({PayloadGroup::CompressedDatabase, PayloadFileType::DatabaseArchive, 1,
                               AsciiName("ABCDEF1\\setup.msi"), Filler(70, 3)});
    shipped.entries.push_back({PayloadGroup{100}, PayloadFileType::PlainPrerequisite, 0, AsciiName("pre\\a.exe"),
                               Filler(40, 4)});
    shipped.flags = PackageFlags::HasConfiguration | PackageFlags::DatabaseInArchive |
                    PackageFlags::ExtractOnRequest | PackageFlags::ConfigurationInPayload | PackageFlags::VerifyDigest;

    PackageContents beside;
    beside.programImage = Filler(1100, 5);
    beside.externalFiles.push_back({PayloadFileType::ProductArchive, AsciiName("FILES.7z")});
    beside.externalFiles.push_back({PayloadFileType::Configuration, AsciiName("setup.ini")});
    beside.flags = PackageFlags::FilesBesideSetup | PackageFlags::BesideFilesCompressed;

    PackageLayoutInfo layout;
    std::string error;
    for (const auto& [name, contents] : {std::pair{"shipped.exe", &shipped}, std::pair{"beside.exe", &beside}}) {
        if (!WritePackage(*contents, folder / name, layout, error)) {
            std::fprintf(stderr, "make-fuzz-seeds: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

// A GIF of 4 colours whose LZW stream sends a clear code after every two pixels, so the code
// width never grows: small and simple, yet a real GIF any decoder reads.
std::vector<std::uint8_t> SmallGif(int width, int height) {
    std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    auto u16 = [&gif](int v) {
        gif.push_back(static_cast<std::uint8_t>(v & 0xFF));
        gif.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    u16(width);
    u16(height);
    gif.insert(gif.end(), {0xF1, 0, 0});  // global table of 4 colours
    gif.insert(gif.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    gif.push_back(0x2C);
    u16(0);
    u16(0);
    u16(width);
    u16(height);
    gif.push_back(0);
    gif.push_back(2);  // minimum code size: clear 4, end 5, 3-bit codes
    std::vector<int> codes = {4};
    for (int i = 0; i < width * height; ++i) {
        codes.push_back((i / width + i % width) % 4);
        if (i % 2 == 1) {
            codes.push_back(4);
        }
    }
    codes.push_back(5);
    std::vector<std::uint8_t> packed;
    std::uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += 3;
        while (count >= 8) {
            packed.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0) {
        packed.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    }
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, packed.size() - at);
        gif.push_back(static_cast<std::uint8_t>(length));
        gif.insert(gif.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                   packed.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

bool WriteBmp(const fs::path& path, const DecodedPicture& picture) {
    clsDIB surface;
    PixelView pixels;
    surface.CreateFromPictureBox(picture, picture.width, picture.height, pixels, false);
    clsFileBMP writer;
    return surface.Live() && writer.WriteBMP24(path, surface, picture.width - 1, picture.height - 1);
}

bool WritePictures(const fs::path& folder) {
    const DecodedPicture kit = MakeHomeKit(24);
    const DecodedPicture background = MakeBackground(20, 12);
    return WritePicturePng(folder / "kit.png", kit) && WritePictureJpeg(folder / "kit.jpg", kit, 80) &&
           WritePictureJpeg(folder / "background.jpg", background, 40) && WriteBmp(folder / "kit.bmp", background) &&
           Save(folder / "small.gif", SmallGif(9, 5));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds OUT\n");
        return 2;
    }
    const fs::path out = argv[1];
    for (const char* target : {"model_reader", "package_reader", "configuration", "picture", "command_line"}) {
        std::error_code error;
        fs::create_directories(out / target, error);
        if (error) {
            std::fprintf(stderr, "make-fuzz-seeds: cannot create %s\n", (out / target).string().c_str());
            return 1;
        }
    }
    const bool written = WriteModels(out / "model_reader") && WritePackages(out / "package_reader") &&
                         WriteConfigurations(out / "configuration") && WritePictures(out / "picture") &&
                         WriteCommandLines(out / "command_line");
    if (!written) {
        std::fprintf(stderr, "make-fuzz-seeds: a starting input could not be written\n");
        return 1;
    }
    return 0;
}
