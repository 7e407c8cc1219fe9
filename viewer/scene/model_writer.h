#pragma once
// A small writer of 3D Studio mesh files: the sample kit generator writes kit.3ds with it and the
// tests build their models with it. ChunkWriter lays out chunks byte by byte (for files of any
// shape, malformed ones included); Write3DS writes a whole model in the usual chunk order.

#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene_records.h"

namespace maglorin {

class ChunkWriter {
public:
    // Opens a chunk; its length is filled in by the matching End.
    void Begin(std::uint16_t id);
    void End();

    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void Float(float value);
    void CString(const std::string& text);  // bytes and a NUL

    // A chunk holding exactly the given payload bytes (already written with the calls above).
    void FloatChunk(std::uint16_t id, float value);
    void Colour24Chunk(std::uint16_t id, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void PercentChunk(std::uint16_t id, std::int16_t percent);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take();

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<std::size_t> open_;  // offsets of the headers of the open chunks
};

struct ModelMaterial {
    std::string name;
    std::uint8_t red = 200;
    std::uint8_t green = 200;
    std::uint8_t blue = 200;
    std::int16_t transparencyPercent = 0;
    std::string textureFile;  // empty: no texture map chunk
    float uScale = 1.0f;
    float vScale = 1.0f;
    float uOffset = 0.0f;
    float vOffset = 0.0f;     // as stored in the file (the reader negates it)
    float rotation = 0.0f;    // degrees, as stored in the file (the reader negates it)
};

struct ModelFace {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t c = 0;
    std::uint16_t flags = 7;  // bit 2: edge AB visible, bit 1: BC, bit 0: CA
};

struct ModelFaceMaterial {
    std::string materialName;
    std::vector<std::uint16_t> faces;
};

struct ModelMesh {
    std::string name;
    std::vector<Vec4> vertices;      // x, y, z (w is not written)
    std::vector<ModelFace> faces;
    std::vector<ModelFaceMaterial> faceMaterials;
    std::vector<TexCoord> texCoords; // empty: no mapping chunk
};

struct ModelDescription {
    std::vector<ModelMaterial> materials;
    std::vector<ModelMesh> meshes;
};

// The model as a 3DS file: main chunk, version, editor chunk with the mesh version, the material
// blocks, the master scale and one named object per mesh, then an empty keyframer chunk. The
// chunks the viewer skips are there too, as other writers produce them.
std::vector<std::uint8_t> Write3DS(const ModelDescription& model);

// Writes `bytes` to `path`; false when the file cannot be written completely (no partial file is
// left behind).
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace maglorin
