#include "scene/clsFile3DS.h"

#include <bit>
#include <cmath>

#include "scene/chunk_ids.h"

namespace maglorin {

// Vertex and mapping blocks are copied as they stand: the file's byte order is the machine's.
static_assert(std::endian::native == std::endian::little);

namespace {

// Channel 0..255 from a real colour component 0..1, halves to even.
std::int16_t ColourByteFromReal(float component) {
    const double scaled = static_cast<double>(component) * 255.0;
    if (!(scaled > 0.0)) {
        return 0;  // also NaN
    }
    if (scaled >= 255.0) {
        return 255;
    }
    double rounded = std::floor(scaled + 0.5);
    if (rounded - scaled == 0.5 && std::fmod(rounded, 2.0) != 0.0) {
        rounded -= 1.0;
    }
    return static_cast<std::int16_t>(rounded);
}

std::string HexId(std::uint16_t id) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x0000";
    for (int i = 0; i < 4; ++i) {
        text[5 - i] = kDigits[(id >> (4 * i)) & 0xF];
    }
    return text;
}

bool IsRealColour(std::uint16_t id) {
    return id == chunk::kColourFloat || id == chunk::kLinearColourFloat;
}

}  // namespace

bool clsFile3DS::Read3DS(const std::filesystem::path& FileName) {
    BufferedFileSource file;
    if (!file.Open(FileName)) {
        ResetScene();
        return Fail("cannot open the model file");
    }
    return Read3DSFrom(file);
}

bool clsFile3DS::Read3DSFrom(ByteSource& source) {
    ResetScene();
    source_ = &source;
    const bool read = Walk();
    source_ = nullptr;
    return read;
}

// The tables are re-grown from index 0 (the records stay for reuse); camera and light restart.
void clsFile3DS::ResetScene() {
    scene_.MeshUBound = -1;
    scene_.MaterialUBound = -1;
    ResetCamera(scene_);
    ResetLight(scene_);
}

bool clsFile3DS::Fail(const std::string& reason) {
    error_ = reason;
    return false;
}

bool clsFile3DS::Walk() {
    error_.clear();
    ChunkPos = 0;
    CurrentObjectName.clear();
    containerEnds_.clear();
    while (ChunkPos + chunk::kHeaderSize <= source_->Size()) {
        if (!ReadChunk()) {
            return false;
        }
    }
    if (scene_.MeshUBound < 0) {
        return Fail("the model has no vertex list");
    }
    DropShortMappings();
    return true;
}

bool clsFile3DS::ReadChunk() {
    while (!containerEnds_.empty() && containerEnds_.back() <= ChunkPos) {
        containerEnds_.pop_back();
    }
    const std::int64_t limit = containerEnds_.empty() ? source_->Size() : containerEnds_.back();
    std::uint8_t header[chunk::kHeaderSize];
    if (ChunkPos + chunk::kHeaderSize > limit ||
        !source_->ReadAt(ChunkPos, header, sizeof header)) {
        return Fail("a chunk header runs past its container");
    }
    ChunkId = static_cast<std::uint16_t>(header[0] | (header[1] << 8));
    const std::uint32_t length = std::uint32_t{header[2]} | (std::uint32_t{header[3]} << 8) |
                                 (std::uint32_t{header[4]} << 16) | (std::uint32_t{header[5]} << 24);
    if (length < chunk::kHeaderSize) {
        return Fail("a chunk is shorter than its header");
    }
    if (ChunkPos + length > limit) {
        return Fail("a chunk runs past its container or the end of the file");
    }
    ChunkLen = length;
    chunkEnd_ = ChunkPos + length;
    payloadPos_ = ChunkPos + chunk::kHeaderSize;
    if (!Dispatch()) {
        return false;
    }
    ChunkPos += ChunkLen;
    return true;
}

// The next header read is the first child; the chunk's own end bounds its children.
void clsFile3DS::Descend() {
    containerEnds_.push_back(chunkEnd_);
    ChunkLen = chunk::kHeaderSize;
}

bool clsFile3DS::Dispatch() {
    switch (ChunkId) {
        case chunk::kMain:
        case chunk::kEditor:
        case chunk::kMaterialBlock:
        case chunk::kTriangleMesh:
        case chunk::kTextureMap1:
        case chunk::kZero:
            Descend();
            return true;
        case chunk::kNamedObject: return ReadNamedObject();
        case chunk::kVertexList: return ReadVertexList();
        case chunk::kFaceList: return ReadFaceList();
        case chunk::kFaceMaterialList: return ReadFaceMaterialList();
        case chunk::kMappingCoordinates: return ReadMappingCoordinates();
        case chunk::kMaterialName: return ReadMaterialName();
        case chunk::kDiffuseColour: return ReadDiffuseColour();
        case chunk::kTransparency: return ReadTransparency();
        case chunk::kMapFileName: return ReadMapFileName();
        case chunk::kMapUScale:
        case chunk::kMapVScale:
        case chunk::kMapUOffset:
        case chunk::kMapVOffset:
        case chunk::kMapRotation:
            return ReadMapParameter();
        default:
            return true;  // skipped by its length
    }
}

bool clsFile3DS::ReadBytes(void* target, std::size_t count) {
    if (static_cast<std::uint64_t>(chunkEnd_ - payloadPos_) < count ||
        !source_->ReadAt(payloadPos_, target, count)) {
        return Fail("chunk " + HexId(ChunkId) + " ends before its data");
    }
    payloadPos_ += static_cast<std::int64_t>(count);
    return true;
}

// Checked before a table is allocated: the records a count announces must lie in the chunk, so
// memory follows the file and never the count alone.
bool clsFile3DS::ChunkHolds(std::size_t count, std::size_t recordBytes) {
    if (static_cast<std::uint64_t>(chunkEnd_ - payloadPos_) / recordBytes < count) {
        return Fail("chunk " + HexId(ChunkId) + " ends before its data");
    }
    return true;
}

bool clsFile3DS::SkipBytes(std::size_t count) {
    if (static_cast<std::uint64_t>(chunkEnd_ - payloadPos_) < count) {
        return Fail("a chunk ends before its data");
    }
    payloadPos_ += static_cast<std::int64_t>(count);
    return true;
}

bool clsFile3DS::ReadU16(std::uint16_t& value) {
    std::uint8_t bytes[2];
    if (!ReadBytes(bytes, sizeof bytes)) {
        return false;
    }
    value = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool clsFile3DS::ReadI16(std::int16_t& value) {
    std::uint16_t raw = 0;
    if (!ReadU16(raw)) {
        return false;
    }
    value = static_cast<std::int16_t>(raw);
    return true;
}

bool clsFile3DS::ReadFloat(float& value) {
    std::uint8_t bytes[4];
    if (!ReadBytes(bytes, sizeof bytes)) {
        return false;
    }
    const std::uint32_t raw = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                              (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
    value = std::bit_cast<float>(raw);
    return true;
}

// Bytes up to a NUL, which must lie inside the chunk. The bytes are kept as they are (the
// system code page's characters).
bool clsFile3DS::ReadCString(std::string& text) {
    text.clear();
    for (;;) {
        char c = 0;
        if (!ReadBytes(&c, 1)) {
            return Fail("a name is not terminated inside its chunk");
        }
        if (c == '\0') {
            return true;
        }
        text.push_back(c);
    }
}

MeshObject* clsFile3DS::LastMesh() {
    if (scene_.MeshUBound < 0) {
        Fail("a mesh list comes before any vertex list");
        return nullptr;
    }
    return &scene_.Meshes[static_cast<std::size_t>(scene_.MeshUBound)];
}

Material* clsFile3DS::LastMaterial() {
    if (scene_.MaterialUBound < 0) {
        Fail("a material property comes before any material name");
        return nullptr;
    }
    return &scene_.Materials[static_cast<std::size_t>(scene_.MaterialUBound)];
}

bool clsFile3DS::ReadNamedObject() {
    if (!ReadCString(CurrentObjectName)) {
        return false;
    }
    ChunkLen = payloadPos_ - ChunkPos;  // descend into the object, past its name
    containerEnds_.push_back(chunkEnd_);
    return true;
}

bool clsFile3DS::ReadVertexList() {
    MeshObject* mesh = AppendMesh(scene_);
    if (mesh == nullptr) {
        return Fail("too many meshes");
    }
    mesh->Name = CurrentObjectName;
    std::int16_t count = 0;
    if (!ReadI16(count)) {
        return false;
    }
    if (count <= 0) {
        mesh->VertexUBound = -1;
        return true;
    }
    if (!ChunkHolds(static_cast<std::size_t>(count), 3 * sizeof(float))) {
        return false;
    }
    std::vector<float> xyz(static_cast<std::size_t>(count) * 3);
    if (!ReadBytes(xyz.data(), xyz.size() * sizeof(float))) {
        return false;
    }
    mesh->VertexUBound = count - 1;
    mesh->Vertices.assign(static_cast<std::size_t>(count), Vertex{});
    mesh->ScreenPoints.assign(static_cast<std::size_t>(count), ScreenPoint{});
    for (std::size_t i = 0; i < mesh->Vertices.size(); ++i) {
        // The file is little-endian like both targets, so the block is taken as it stands.
        mesh->Vertices[i].Position = Vec4{xyz[i * 3], xyz[i * 3 + 1], xyz[i * 3 + 2], 1.0f};
    }
    BuildBoundingBox(scene_, scene_.MeshUBound);
    return true;
}

bool clsFile3DS::ReadFaceList() {
    MeshObject* mesh = LastMesh();
    std::int16_t count = 0;
    if (mesh == nullptr || !ReadI16(count)) {
        return false;
    }
    if (count < 0) {
        return Fail("a face list has a negative count");
    }
    if (count == 0) {
        mesh->FaceUBound = -1;
    } else {
        if (!ChunkHolds(static_cast<std::size_t>(count), 4 * sizeof(std::uint16_t))) {
            return false;
        }
        std::vector<std::uint16_t> words(static_cast<std::size_t>(count) * 4);
        if (!ReadBytes(words.data(), words.size() * sizeof(std::uint16_t))) {
            return false;
        }
        mesh->Faces.assign(static_cast<std::size_t>(count), Face{});
        for (std::size_t i = 0; i < mesh->Faces.size(); ++i) {
            Face& face = mesh->Faces[i];
            face.A = static_cast<std::int16_t>(words[i * 4]);
            face.B = static_cast<std::int16_t>(words[i * 4 + 1]);
            face.C = static_cast<std::int16_t>(words[i * 4 + 2]);
            const std::uint16_t flags = words[i * 4 + 3];
            face.EdgeCA = ToBool16((flags & 1) != 0);
            face.EdgeBC = ToBool16((flags & 2) != 0);
            face.EdgeAB = ToBool16((flags & 4) != 0);
            for (std::int32_t index : {face.A, face.B, face.C}) {
                if (index < 0 || index > mesh->VertexUBound) {
                    return Fail("a face names a vertex its mesh does not have");
                }
            }
        }
        mesh->FaceUBound = static_cast<std::int16_t>(count - 1);
        mesh->HasFaces = kTrue16;
    }
    // Walk the face list's own children (face material lists, smoothing groups) next.
    containerEnds_.push_back(chunkEnd_);
    ChunkLen = 8 + 8 * static_cast<std::int64_t>(count);
    return true;
}

bool clsFile3DS::ReadFaceMaterialList() {
    MeshObject* mesh = LastMesh();
    std::string name;
    std::int16_t count = 0;
    if (mesh == nullptr || !ReadCString(name) || !ReadI16(count)) {
        return false;
    }
    if (count < 1) {
        return true;
    }
    if (!ChunkHolds(static_cast<std::size_t>(count), sizeof(std::uint16_t))) {
        return false;
    }
    std::vector<std::uint16_t> faces(static_cast<std::size_t>(count));
    if (!ReadBytes(faces.data(), faces.size() * sizeof(std::uint16_t))) {
        return false;
    }
    for (std::int16_t k = 0; k <= scene_.MaterialUBound; ++k) {
        if (scene_.Materials[static_cast<std::size_t>(k)].Name != name) {
            continue;
        }
        for (const std::uint16_t word : faces) {
            const auto f = static_cast<std::int16_t>(word);
            if (f < 0 || f > mesh->FaceUBound) {
                return Fail("a face material list names a face its mesh does not have");
            }
            mesh->Faces[static_cast<std::size_t>(f)].Material = k;
        }
        return true;  // the first material of that name
    }
    return true;  // unknown material: nothing assigned
}

bool clsFile3DS::ReadMappingCoordinates() {
    MeshObject* mesh = LastMesh();
    std::int16_t count = 0;
    if (mesh == nullptr || !ReadI16(count)) {
        return false;
    }
    if (count < 0) {
        return true;  // not a usable list; the mesh is drawn without mapping
    }
    if (!ChunkHolds(static_cast<std::size_t>(count), 2 * sizeof(float))) {
        return false;
    }
    std::vector<float> uv(static_cast<std::size_t>(count) * 2);
    if (!ReadBytes(uv.data(), uv.size() * sizeof(float))) {
        return false;
    }
    mesh->TexCoordUBound = static_cast<std::int16_t>(count - 1);
    mesh->TexCoords.assign(static_cast<std::size_t>(count), TexCoord{});
    mesh->MappedTexCoords.assign(static_cast<std::size_t>(count), TexCoord{});
    for (std::size_t i = 0; i < mesh->TexCoords.size(); ++i) {
        mesh->TexCoords[i] = TexCoord{uv[i * 2], uv[i * 2 + 1]};
    }
    mesh->HasTexCoords = kTrue16;
    return true;
}

// Mapping coordinates belong to vertices: a list that does not cover every vertex of its mesh
// is not used (the mesh is drawn without mapping), so no vertex reads past the list.
void clsFile3DS::DropShortMappings() {
    for (std::int32_t m = 0; m <= scene_.MeshUBound; ++m) {
        MeshObject& mesh = scene_.Meshes[static_cast<std::size_t>(m)];
        if (mesh.HasTexCoords != kFalse16 && mesh.TexCoordUBound < mesh.VertexUBound) {
            mesh.HasTexCoords = kFalse16;
        }
    }
}

bool clsFile3DS::ReadMaterialName() {
    std::string name;
    if (!ReadCString(name)) {
        return false;
    }
    Material* material = AppendMaterial(scene_);
    if (material == nullptr) {
        return Fail("too many materials");
    }
    material->Name = name;
    ChunkLen = payloadPos_ - ChunkPos;
    return true;
}

// The first colour sub-chunk gives the colour: reals 0..1 (0x0010, 0x0013) or, for every other
// id, three bytes (0x0011, 0x0012).
bool clsFile3DS::ReadDiffuseColour() {
    Material* material = LastMaterial();
    std::uint16_t subId = 0;
    if (material == nullptr || !ReadU16(subId) || !SkipBytes(4)) {
        return false;
    }
    if (IsRealColour(subId)) {
        float rgb[3];
        if (!ReadFloat(rgb[0]) || !ReadFloat(rgb[1]) || !ReadFloat(rgb[2])) {
            return false;
        }
        material->Diffuse = ColourRGB{ColourByteFromReal(rgb[0]), ColourByteFromReal(rgb[1]),
                                      ColourByteFromReal(rgb[2])};
        return true;
    }
    std::uint8_t rgb[3];
    if (!ReadBytes(rgb, sizeof rgb)) {
        return false;
    }
    material->Diffuse = ColourRGB{rgb[0], rgb[1], rgb[2]};
    return true;
}

// Percentage 0..100 as a real (0x0031) or, for every other id, a 16-bit integer (0x0030).
bool clsFile3DS::ReadTransparency() {
    Material* material = LastMaterial();
    std::uint16_t subId = 0;
    if (material == nullptr || !ReadU16(subId) || !SkipBytes(4)) {
        return false;
    }
    double percent = 0.0;
    if (subId == chunk::kPercentFloat) {
        float value = 0.0f;
        if (!ReadFloat(value)) {
            return false;
        }
        percent = value;
    } else {
        std::int16_t value = 0;
        if (!ReadI16(value)) {
            return false;
        }
        percent = value;
    }
    material->Transparency = static_cast<float>(percent * 0.01);
    return true;
}

bool clsFile3DS::ReadMapFileName() {
    Material* material = LastMaterial();
    return material != nullptr && ReadCString(material->TextureFile);
}

bool clsFile3DS::ReadMapParameter() {
    Material* material = LastMaterial();
    float value = 0.0f;
    if (material == nullptr || !ReadFloat(value)) {
        return false;
    }
    switch (ChunkId) {
        case chunk::kMapUScale: material->UScale = value; break;
        case chunk::kMapVScale: material->VScale = value; break;
        case chunk::kMapUOffset: material->UOffset = value; break;
        case chunk::kMapVOffset: material->VOffset = -value; break;  // held negated
        case chunk::kMapRotation: material->Rotation = -value; break;  // held negated
        default: break;
    }
    return true;
}

}  // namespace maglorin
