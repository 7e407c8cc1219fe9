#include "scene/model_writer.h"

#include <bit>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "scene/chunk_ids.h"

namespace maglorin {

void ChunkWriter::Begin(std::uint16_t id) {
    open_.push_back(bytes_.size());
    U16(id);
    U32(0);
}

void ChunkWriter::End() {
    const std::size_t start = open_.back();
    open_.pop_back();
    const auto length = static_cast<std::uint32_t>(bytes_.size() - start);
    for (int i = 0; i < 4; ++i) {
        bytes_[start + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
}

void ChunkWriter::U8(std::uint8_t value) { bytes_.push_back(value); }

void ChunkWriter::U16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ChunkWriter::U32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void ChunkWriter::Float(float value) { U32(std::bit_cast<std::uint32_t>(value)); }

void ChunkWriter::CString(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
}

void ChunkWriter::FloatChunk(std::uint16_t id, float value) {
    Begin(id);
    Float(value);
    End();
}

void ChunkWriter::Colour24Chunk(std::uint16_t id, std::uint8_t red, std::uint8_t green,
                                std::uint8_t blue) {
    Begin(id);
    Begin(chunk::kColour24);
    U8(red);
    U8(green);
    U8(blue);
    End();
    End();
}

void ChunkWriter::PercentChunk(std::uint16_t id, std::int16_t percent) {
    Begin(id);
    Begin(chunk::kPercentInt);
    U16(static_cast<std::uint16_t>(percent));
    End();
    End();
}

std::vector<std::uint8_t> ChunkWriter::Take() {
    open_.clear();
    return std::move(bytes_);
}

namespace {

void WriteMaterial(ChunkWriter& w, const ModelMaterial& material) {
    w.Begin(chunk::kMaterialBlock);
    w.Begin(chunk::kMaterialName);
    w.CString(material.name);
    w.End();
    w.Colour24Chunk(chunk::kAmbientColour, material.red / 4, material.green / 4,
                    material.blue / 4);
    w.Colour24Chunk(chunk::kDiffuseColour, material.red, material.green, material.blue);
    w.Colour24Chunk(chunk::kSpecularColour, 229, 229, 229);
    w.PercentChunk(chunk::kTransparency, material.transparencyPercent);
    if (!material.textureFile.empty()) {
        w.Begin(chunk::kTextureMap1);
        w.PercentChunk(chunk::kPercentInt, 100);
        w.Begin(chunk::kMapFileName);
        w.CString(material.textureFile);
        w.End();
        w.FloatChunk(chunk::kMapUScale, material.uScale);
        w.FloatChunk(chunk::kMapVScale, material.vScale);
        w.FloatChunk(chunk::kMapUOffset, material.uOffset);
        w.FloatChunk(chunk::kMapVOffset, material.vOffset);
        w.FloatChunk(chunk::kMapRotation, material.rotation);
        w.End();
    }
    w.End();
}

void WriteFaces(ChunkWriter& w, const ModelMesh& mesh) {
    w.Begin(chunk::kFaceList);
    w.U16(static_cast<std::uint16_t>(mesh.faces.size()));
    for (const ModelFace& face : mesh.faces) {
        w.U16(face.a);
        w.U16(face.b);
        w.U16(face.c);
        w.U16(face.flags);
    }
    for (const ModelFaceMaterial& list : mesh.faceMaterials) {
        w.Begin(chunk::kFaceMaterialList);
        w.CString(list.materialName);
        w.U16(static_cast<std::uint16_t>(list.faces.size()));
        for (std::uint16_t f : list.faces) {
            w.U16(f);
        }
        w.End();
    }
    w.Begin(chunk::kSmoothingGroups);
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        w.U32(1);
    }
    w.End();
    w.End();
}

void WriteMesh(ChunkWriter& w, const ModelMesh& mesh) {
    w.Begin(chunk::kNamedObject);
    w.CString(mesh.name);
    w.Begin(chunk::kTriangleMesh);
    w.Begin(chunk::kVertexList);
    w.U16(static_cast<std::uint16_t>(mesh.vertices.size()));
    for (const Vec4& v : mesh.vertices) {
        w.Float(v.x);
        w.Float(v.y);
        w.Float(v.z);
    }
    w.End();
    if (!mesh.texCoords.empty()) {
        w.Begin(chunk::kMappingCoordinates);
        w.U16(static_cast<std::uint16_t>(mesh.texCoords.size()));
        for (const TexCoord& t : mesh.texCoords) {
            w.Float(t.u);
            w.Float(t.v);
        }
        w.End();
    }
    w.Begin(chunk::kLocalAxes);  // identity axes, origin 0
    for (float value : {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f}) {
        w.Float(value);
    }
    w.End();
    if (!mesh.faces.empty()) {
        WriteFaces(w, mesh);
    }
    w.End();
    w.End();
}

}  // namespace

std::vector<std::uint8_t> Write3DS(const ModelDescription& model) {
    ChunkWriter w;
    w.Begin(chunk::kMain);
    w.Begin(chunk::kFileVersion);
    w.U32(3);
    w.End();
    w.Begin(chunk::kEditor);
    w.Begin(chunk::kMeshVersion);
    w.U32(3);
    w.End();
    for (const ModelMaterial& material : model.materials) {
        WriteMaterial(w, material);
    }
    w.FloatChunk(chunk::kMasterScale, 1.0f);
    for (const ModelMesh& mesh : model.meshes) {
        WriteMesh(w, mesh);
    }
    w.End();
    w.Begin(chunk::kKeyframer);
    w.End();
    w.End();
    return w.Take();
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (file) {
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(path), ignored);  // ours, and incomplete
    return false;
}

}  // namespace maglorin
