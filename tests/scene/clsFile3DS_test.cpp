// The model reader: round trips through our writer, the walk's special cases, the colour and
// percentage encodings, and refusal of malformed files.
#include "scene/clsFile3DS.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "model_fixtures.h"

namespace maglorin {
namespace {

using namespace test_support;

bool ReadBytes(Scene& scene, const std::vector<std::uint8_t>& bytes, std::string* error = nullptr) {
    MemoryByteSource source(bytes);
    clsFile3DS reader(scene);
    const bool read = reader.Read3DSFrom(source);
    if (error != nullptr) {
        *error = reader.LastError();
    }
    return read;
}

// Main and editor chunks around what `body` writes.
std::vector<std::uint8_t> Wrapped(const std::function<void(ChunkWriter&)>& body) {
    ChunkWriter w;
    w.Begin(chunk::kMain);
    w.Begin(chunk::kEditor);
    body(w);
    w.End();
    w.End();
    return w.Take();
}

void Material(ChunkWriter& w, const std::string& name) {
    w.Begin(chunk::kMaterialName);
    w.CString(name);
    w.End();
}

void Object(ChunkWriter& w, const std::string& name) {
    w.Begin(chunk::kNamedObject);
    w.CString(name);
}

void Vertices(ChunkWriter& w, std::int16_t count, int written = -1) {
    w.Begin(chunk::kVertexList);
    w.U16(static_cast<std::uint16_t>(count));
    for (int i = 0; i < (written < 0 ? count : written); ++i) {
        w.Float(static_cast<float>(i));
        w.Float(static_cast<float>(2 * i));
        w.Float(static_cast<float>(-i));
    }
    w.End();
}

void Mapping(ChunkWriter& w, std::int16_t count) {
    w.Begin(chunk::kMappingCoordinates);
    w.U16(static_cast<std::uint16_t>(count));
    for (int i = 0; i < count; ++i) {
        w.Float(0.5f * i);
        w.Float(0.25f * i);
    }
    w.End();
}

// A face list of `count` faces (0, 1, 2); `children` writes inside it after the faces.
void Faces(ChunkWriter& w, std::int16_t count,
           const std::function<void(ChunkWriter&)>& children = {}) {
    w.Begin(chunk::kFaceList);
    w.U16(static_cast<std::uint16_t>(count));
    for (int i = 0; i < count; ++i) {
        w.U16(0);
        w.U16(1);
        w.U16(2);
        w.U16(0);
    }
    if (children) {
        children(w);
    }
    w.End();
}

void FaceMaterials(ChunkWriter& w, const std::string& name, std::vector<std::uint16_t> faces) {
    w.Begin(chunk::kFaceMaterialList);
    w.CString(name);
    w.U16(static_cast<std::uint16_t>(faces.size()));
    for (std::uint16_t f : faces) {
        w.U16(f);
    }
    w.End();
}

TEST(ModelReaderRoundTrip, ReadsEveryHandledChunkAndSkipsTheOthers) {
    const std::vector<std::uint8_t> bytes = Write3DS(TwoMeshModel());
    Scene scene;
    std::string error;
    ASSERT_TRUE(ReadBytes(scene, bytes, &error)) << error;

    ASSERT_EQ(scene.MaterialUBound, 2);
    const maglorin::Material& red = scene.Materials[0];
    EXPECT_EQ(red.Name, "Red");
    EXPECT_EQ(red.Diffuse.red, 255);
    EXPECT_EQ(red.Diffuse.green, 0);
    EXPECT_FLOAT_EQ(red.Transparency, 0.5f);
    EXPECT_EQ(red.TextureFile, "red.jpg");
    EXPECT_EQ(red.UScale, 2.0f);
    EXPECT_EQ(red.VScale, 3.0f);
    EXPECT_EQ(red.UOffset, 0.125f);
    EXPECT_EQ(red.VOffset, -0.25f);   // held negated
    EXPECT_EQ(red.Rotation, -30.0f);  // held negated
    EXPECT_EQ(scene.Materials[1].VOffset, 0.5f);
    EXPECT_EQ(scene.Materials[1].Rotation, 45.0f);
    EXPECT_EQ(scene.Materials[1].Diffuse.green, 200);
    EXPECT_EQ(scene.Materials[2].TextureFile, "");
    EXPECT_FLOAT_EQ(scene.Materials[2].Transparency, 1.0f);
    EXPECT_EQ(scene.Materials[2].Diffuse.blue, 250);

    ASSERT_EQ(scene.MeshUBound, 1);
    const MeshObject& front = scene.Meshes[0];
    EXPECT_EQ(front.Name, "Front");
    ASSERT_EQ(front.VertexUBound, 3);
    ASSERT_EQ(front.Vertices.size(), 4u);
    EXPECT_EQ(front.ScreenPoints.size(), 4u);
    EXPECT_EQ(front.Vertices[2].Position.z, 0.5f);
    EXPECT_EQ(front.Vertices[2].Position.w, 1.0f);
    ASSERT_EQ(front.FaceUBound, 1);
    EXPECT_EQ(front.HasFaces, kTrue16);
    EXPECT_EQ(front.Faces[0].C, 2);
    EXPECT_EQ(front.Faces[0].EdgeAB, kTrue16);
    EXPECT_EQ(front.Faces[1].EdgeAB, kFalse16);  // flags 3: BC and CA only
    EXPECT_EQ(front.Faces[1].EdgeBC, kTrue16);
    EXPECT_EQ(front.Faces[1].EdgeCA, kTrue16);
    EXPECT_EQ(front.Faces[0].Material, 0);
    EXPECT_EQ(front.Faces[1].Material, 1);
    EXPECT_EQ(front.HasTexCoords, kTrue16);
    EXPECT_EQ(front.TexCoordUBound, 3);
    EXPECT_EQ(front.TexCoords[2].u, 1.0f);
    EXPECT_EQ(front.MappedTexCoords.size(), 4u);
    EXPECT_EQ(front.BoxVertices[6].Position.z, 0.5f);

    const MeshObject& back = scene.Meshes[1];
    EXPECT_EQ(back.Name, "Back");
    EXPECT_EQ(back.Faces[0].A, 2);
    EXPECT_EQ(back.Faces[0].EdgeAB, kTrue16);
    EXPECT_EQ(back.Faces[0].EdgeBC, kFalse16);
    EXPECT_EQ(back.Faces[0].Material, 2);
    EXPECT_EQ(back.HasTexCoords, kFalse16);
    EXPECT_EQ(back.BoxVertices[0].Position.z, -2.0f);
}

TEST(ModelReaderRoundTrip, ReadsTheFileThroughTheBufferedStream) {
    // More than one buffer of data, so the stream refills and seeks back and forth.
    ModelDescription model = TwoMeshModel();
    ModelMesh big;
    big.name = "Big";
    for (int i = 0; i < 9000; ++i) {
        big.vertices.push_back(Vec4{static_cast<float>(i), 0, 0, 1});
        big.texCoords.push_back(TexCoord{static_cast<float>(i), 1});
    }
    for (int i = 0; i + 2 < 9000; i += 3) {
        big.faces.push_back(ModelFace{static_cast<std::uint16_t>(i),
                                      static_cast<std::uint16_t>(i + 1),
                                      static_cast<std::uint16_t>(i + 2), 7});
    }
    big.faceMaterials = {{"Green", {0, 2999}}};
    model.meshes.push_back(big);
    const auto path = std::filesystem::temp_directory_path() / "maglorin_reader_big.3ds";
    ASSERT_TRUE(WriteFileBytes(path.string(), Write3DS(model)));

    Scene scene;
    clsFile3DS reader(scene);
    ASSERT_TRUE(reader.Read3DS(path)) << reader.LastError();
    std::filesystem::remove(path);
    ASSERT_EQ(scene.MeshUBound, 2);
    const MeshObject& mesh = scene.Meshes[2];
    EXPECT_EQ(mesh.VertexUBound, 8999);
    EXPECT_EQ(mesh.Vertices[8999].Position.x, 8999.0f);
    EXPECT_EQ(mesh.TexCoords[8999].u, 8999.0f);
    EXPECT_EQ(mesh.FaceUBound, 2999);
    EXPECT_EQ(mesh.Faces[2999].C, 8999);
    EXPECT_EQ(mesh.Faces[2999].Material, 1);
    EXPECT_EQ(mesh.BoxVertices[1].Position.x, 8999.0f);
}

TEST(ModelReaderRoundTrip, AMissingFileIsALoadFailureThatStillResetsTheScene) {
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, Write3DS(TwoMeshModel())));
    scene.Camera.Roll = 30;
    clsFile3DS reader(scene);
    EXPECT_FALSE(reader.Read3DS(std::filesystem::temp_directory_path() / "no_such_model.3ds"));
    EXPECT_EQ(scene.MeshUBound, -1);
    EXPECT_EQ(scene.MaterialUBound, -1);
    EXPECT_EQ(scene.Camera.Roll, 0.0f);
}

TEST(ModelReaderWalk, AnEmptyVertexListMakesAMeshWithoutVertices) {
    const auto bytes = Wrapped([](ChunkWriter& w) {
        Object(w, "Empty");
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 0);
        w.End();
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    ASSERT_EQ(scene.MeshUBound, 0);
    EXPECT_EQ(scene.Meshes[0].Name, "Empty");
    EXPECT_EQ(scene.Meshes[0].VertexUBound, -1);
    EXPECT_TRUE(scene.Meshes[0].Vertices.empty());
    EXPECT_EQ(scene.Meshes[0].BoxVertices[6].Position.x, 0.0f);
}

TEST(ModelReaderWalk, AnEmptyFaceListAdvancesExactlyEightBytes) {
    // The face list's child is only seen when the walk steps 8 bytes into the face list.
    const auto bytes = Wrapped([](ChunkWriter& w) {
        Object(w, "Mesh");
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 3);
        Faces(w, 0, [](ChunkWriter& c) { Mapping(c, 3); });
        w.End();
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    EXPECT_EQ(scene.Meshes[0].FaceUBound, -1);
    EXPECT_EQ(scene.Meshes[0].HasFaces, kFalse16);
    EXPECT_EQ(scene.Meshes[0].HasTexCoords, kTrue16);
}

TEST(ModelReaderWalk, UnknownMaterialNamesAssignNothingAndTheFirstOfTwoNamesWins) {
    const auto bytes = Wrapped([](ChunkWriter& w) {
        w.Begin(chunk::kMaterialBlock);
        Material(w, "A");
        w.End();
        w.Begin(chunk::kMaterialBlock);
        Material(w, "B");
        w.End();
        w.Begin(chunk::kMaterialBlock);
        Material(w, "B");
        w.End();
        Object(w, "Mesh");
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 3);
        Faces(w, 3, [](ChunkWriter& c) {
            FaceMaterials(c, "b", {0});  // names compare case-sensitively
            FaceMaterials(c, "Nope", {1});
            FaceMaterials(c, "B", {2});
        });
        w.End();
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    const MeshObject& mesh = scene.Meshes[0];
    EXPECT_EQ(mesh.Faces[0].Material, 0);
    EXPECT_EQ(mesh.Faces[1].Material, 0);
    EXPECT_EQ(mesh.Faces[2].Material, 1);
}

TEST(ModelReaderWalk, TwoVertexListsInOneObjectMakeTwoMeshesAndTheListsApplyToTheSecond) {
    const auto bytes = Wrapped([](ChunkWriter& w) {
        Object(w, "Twin");
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 3);
        Vertices(w, 4);
        Mapping(w, 4);
        Faces(w, 1);
        w.End();
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    ASSERT_EQ(scene.MeshUBound, 1);
    EXPECT_EQ(scene.Meshes[0].Name, "Twin");
    EXPECT_EQ(scene.Meshes[1].Name, "Twin");
    EXPECT_EQ(scene.Meshes[0].HasFaces, kFalse16);
    EXPECT_EQ(scene.Meshes[0].HasTexCoords, kFalse16);
    EXPECT_EQ(scene.Meshes[1].VertexUBound, 3);
    EXPECT_EQ(scene.Meshes[1].HasFaces, kTrue16);
    EXPECT_EQ(scene.Meshes[1].HasTexCoords, kTrue16);
}

TEST(ModelReaderWalk, AMeshOutsideANamedObjectTakesThePreviousName) {
    const auto bytes = Wrapped([](ChunkWriter& w) {
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 1);
        w.End();
        Object(w, "Named");
        w.End();
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 1);
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    EXPECT_EQ(scene.Meshes[0].Name, "");
    EXPECT_EQ(scene.Meshes[1].Name, "Named");
}

TEST(ModelReaderWalk, HandledChunksAreFoundWhereverTheyOccur) {
    // A vertex list straight under the main chunk, and unknown chunks before and between.
    ChunkWriter w;
    w.Begin(chunk::kMain);
    w.Begin(0x1234);
    w.U32(0xFFFFFFFF);
    w.End();
    Vertices(w, 2);
    w.Begin(0xB000);
    Vertices(w, 5);  // inside a skipped chunk: never seen
    w.End();
    w.End();
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, w.Take()));
    EXPECT_EQ(scene.MeshUBound, 0);
    EXPECT_EQ(scene.Meshes[0].VertexUBound, 1);
}

TEST(ModelReaderWalk, AReloadKeepsTransparencyTheFileDoesNotSet) {
    const auto bytes = Wrapped([](ChunkWriter& w) {
        w.Begin(chunk::kMaterialBlock);
        Material(w, "Shirt");
        w.End();
        w.Begin(chunk::kMaterialBlock);
        Material(w, "Sleeve");
        w.End();
        Object(w, "Mesh");
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 3);
        w.End();
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    scene.Materials[1].Transparency = 0.3f;  // changed in the editor
    scene.Materials[1].UScale = 4.0f;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    EXPECT_EQ(scene.Materials[1].Transparency, 0.3f);
    EXPECT_EQ(scene.Materials[1].UScale, 1.0f);
}

struct EncodingCase {
    const char* name;
    std::function<void(ChunkWriter&)> property;
    ColourRGB diffuse;
    float transparency;
};

class ModelReaderEncodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ModelReaderEncodings, ColoursAndPercentagesGetTheirRealValues) {
    const EncodingCase& c = GetParam();
    const auto bytes = Wrapped([&](ChunkWriter& w) {
        w.Begin(chunk::kMaterialBlock);
        Material(w, "M");
        c.property(w);
        w.End();
        Object(w, "Mesh");
        w.Begin(chunk::kTriangleMesh);
        Vertices(w, 1);
        w.End();
        w.End();
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    EXPECT_EQ(scene.Materials[0].Diffuse.red, c.diffuse.red);
    EXPECT_EQ(scene.Materials[0].Diffuse.green, c.diffuse.green);
    EXPECT_EQ(scene.Materials[0].Diffuse.blue, c.diffuse.blue);
    EXPECT_FLOAT_EQ(scene.Materials[0].Transparency, c.transparency);
}

std::function<void(ChunkWriter&)> RealColour(std::uint16_t subId, float r, float g, float b) {
    return [=](ChunkWriter& w) {
        w.Begin(chunk::kDiffuseColour);
        w.Begin(subId);
        w.Float(r);
        w.Float(g);
        w.Float(b);
        w.End();
        w.End();
    };
}

std::function<void(ChunkWriter&)> ByteColour(std::uint16_t subId, std::uint8_t r, std::uint8_t g,
                                             std::uint8_t b) {
    return [=](ChunkWriter& w) {
        w.Begin(chunk::kDiffuseColour);
        w.Begin(subId);
        w.U8(r);
        w.U8(g);
        w.U8(b);
        w.End();
        w.End();
    };
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, ModelReaderEncodings,
    ::testing::Values(
        EncodingCase{"colour_24", ByteColour(chunk::kColour24, 10, 20, 30), {10, 20, 30}, 0},
        EncodingCase{"linear_colour_24", ByteColour(chunk::kLinearColour24, 1, 2, 3), {1, 2, 3}, 0},
        EncodingCase{"colour_float", RealColour(chunk::kColourFloat, 1.0f, 0.5f, 0.0f),
                     {255, 128, 0}, 0},
        EncodingCase{"linear_colour_float",
                     RealColour(chunk::kLinearColourFloat, 0.2f, 2.0f, -1.0f), {51, 255, 0}, 0},
        // Only the first sub-chunk counts (the gamma-corrected copy after it is not read).
        EncodingCase{"first_of_two",
                     [](ChunkWriter& w) {
                         w.Begin(chunk::kDiffuseColour);
                         w.Begin(chunk::kColour24);
                         w.U8(7); w.U8(8); w.U8(9);
                         w.End();
                         w.Begin(chunk::kLinearColour24);
                         w.U8(70); w.U8(80); w.U8(90);
                         w.End();
                         w.End();
                     },
                     {7, 8, 9}, 0},
        EncodingCase{"percent_int",
                     [](ChunkWriter& w) { w.PercentChunk(chunk::kTransparency, 50); }, {}, 0.5f},
        EncodingCase{"percent_float",
                     [](ChunkWriter& w) {
                         w.Begin(chunk::kTransparency);
                         w.FloatChunk(chunk::kPercentFloat, 25.0f);
                         w.End();
                     },
                     {}, 0.25f}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* reason;  // part of the reader's explanation
};

std::vector<std::uint8_t> WithMeshBody(const std::function<void(ChunkWriter&)>& body) {
    return Wrapped([&](ChunkWriter& w) {
        w.Begin(chunk::kMaterialBlock);
        Material(w, "M");
        w.End();
        Object(w, "Mesh");
        w.Begin(chunk::kTriangleMesh);
        body(w);
        w.End();
        w.End();
    });
}

std::vector<std::uint8_t> ShortChunk() {
    std::vector<std::uint8_t> bytes;
    RawHeader(bytes, chunk::kMain, 6 + 6 + 42);
    RawHeader(bytes, 0x1234, 5);  // shorter than its header
    bytes.resize(6 + 6 + 42, 0);
    return bytes;
}

std::vector<std::uint8_t> ChildPastParent() {
    ChunkWriter w;
    w.Begin(chunk::kMain);
    Vertices(w, 2);
    w.End();
    std::vector<std::uint8_t> bytes = w.Take();
    bytes.resize(bytes.size() + 24, 0);
    PutU32At(bytes, 8, 6 + 2 + 24 + 12);  // the vertex list claims bytes beyond the main chunk
    return bytes;
}

std::vector<std::uint8_t> PastEndOfFile() {
    std::vector<std::uint8_t> bytes = WithMeshBody([](ChunkWriter& w) { Vertices(w, 3); });
    PutU32At(bytes, 2, static_cast<std::uint32_t>(bytes.size() + 100));
    return bytes;
}

std::vector<std::uint8_t> NoVertexList() {
    return Wrapped([](ChunkWriter& w) {
        w.Begin(chunk::kMaterialBlock);
        Material(w, "M");
        w.End();
    });
}

class ModelReaderRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ModelReaderRefuses, MalformedFiles) {
    Scene scene;
    std::string error;
    EXPECT_FALSE(ReadBytes(scene, GetParam().bytes, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ModelReaderRefuses,
    ::testing::Values(
        RefusalCase{"chunk_shorter_than_header", ShortChunk(), "shorter than its header"},
        RefusalCase{"child_past_parent", ChildPastParent(), "runs past its container"},
        RefusalCase{"past_end_of_file", PastEndOfFile(), "runs past its container or the end of the file"},
        RefusalCase{"no_vertex_list", NoVertexList(), "no vertex list"},
        RefusalCase{"empty_file", {}, "no vertex list"},
        RefusalCase{"vertex_count_past_chunk",
                    WithMeshBody([](ChunkWriter& w) { Vertices(w, 10, 3); }), "0x4110 ends before its data"},
        RefusalCase{"face_index_outside_vertices",
                    WithMeshBody([](ChunkWriter& w) {
                        Vertices(w, 2);
                        Faces(w, 1);  // names vertex 2
                    }), "names a vertex"},
        RefusalCase{"face_count_past_chunk",
                    WithMeshBody([](ChunkWriter& w) {
                        Vertices(w, 3);
                        w.Begin(chunk::kFaceList);
                        w.U16(5);
                        w.U16(0); w.U16(1); w.U16(2); w.U16(0);
                        w.End();
                    }), "0x4120 ends before its data"},
        RefusalCase{"face_material_count_past_chunk",
                    WithMeshBody([](ChunkWriter& w) {
                        Vertices(w, 3);
                        Faces(w, 1, [](ChunkWriter& c) {
                            c.Begin(chunk::kFaceMaterialList);
                            c.CString("M");
                            c.U16(300);  // one index follows
                            c.U16(0);
                            c.End();
                        });
                    }), "0x4130 ends before its data"},
        RefusalCase{"mapping_count_past_chunk",
                    WithMeshBody([](ChunkWriter& w) {
                        Vertices(w, 3);
                        w.Begin(chunk::kMappingCoordinates);
                        w.U16(32767);  // one pair follows
                        w.Float(0.0f);
                        w.Float(1.0f);
                        w.End();
                    }), "0x4140 ends before its data"},
        RefusalCase{"negative_face_count",
                    WithMeshBody([](ChunkWriter& w) {
                        Vertices(w, 3);
                        w.Begin(chunk::kFaceList);
                        w.U16(0xFFFF);
                        w.End();
                    }), "negative count"},
        RefusalCase{"face_material_list_naming_missing_face",
                    WithMeshBody([](ChunkWriter& w) {
                        Vertices(w, 3);
                        Faces(w, 2, [](ChunkWriter& c) { FaceMaterials(c, "M", {0, 2}); });
                    }), "names a face"},
        RefusalCase{"face_list_before_any_mesh",
                    Wrapped([](ChunkWriter& w) {
                        Faces(w, 1);
                        Vertices(w, 3);
                    }), "before any vertex list"},
        RefusalCase{"material_property_before_any_material",
                    Wrapped([](ChunkWriter& w) {
                        w.FloatChunk(chunk::kMapUScale, 2.0f);
                        Vertices(w, 3);
                    }), "before any material name"},
        RefusalCase{"name_without_terminator",
                    [] {
                        ChunkWriter w;
                        w.Begin(chunk::kMain);
                        w.Begin(chunk::kNamedObject);
                        w.U8('a');
                        w.U8('b');
                        w.End();
                        Vertices(w, 1);
                        w.End();
                        return w.Take();
                    }(), "not terminated"},
        RefusalCase{"colour_past_chunk",
                    Wrapped([](ChunkWriter& w) {
                        w.Begin(chunk::kMaterialBlock);
                        Material(w, "M");
                        w.Begin(chunk::kDiffuseColour);
                        w.Begin(chunk::kColourFloat);
                        w.Float(1.0f);
                        w.End();
                        w.End();
                        w.End();
                        Vertices(w, 1);
                    }), "0xA020 ends before its data"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(ModelReaderSafety, AMappingListShorterThanTheVerticesIsNotUsed) {
    const auto bytes = WithMeshBody([](ChunkWriter& w) {
        Vertices(w, 4);
        Mapping(w, 3);
        Faces(w, 1);
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    EXPECT_EQ(scene.Meshes[0].HasTexCoords, kFalse16);
    EXPECT_EQ(scene.Meshes[0].HasFaces, kTrue16);
}

TEST(ModelReaderSafety, ANegativeMappingCountLeavesTheMeshWithoutMapping) {
    const auto bytes = WithMeshBody([](ChunkWriter& w) {
        Vertices(w, 3);
        w.Begin(chunk::kMappingCoordinates);
        w.U16(0x8000);
        w.End();
        Faces(w, 1);
    });
    Scene scene;
    ASSERT_TRUE(ReadBytes(scene, bytes));
    EXPECT_EQ(scene.Meshes[0].HasTexCoords, kFalse16);
    EXPECT_EQ(scene.Meshes[0].FaceUBound, 0);
}

}  // namespace
}  // namespace maglorin
