#pragma once
// Reads a 3D Studio mesh file (chunks under the 0x4D4D main chunk) into a Scene: meshes with
// vertices, triangles, per-face materials and mapping coordinates; materials with diffuse colour,
// transparency, texture file name and mapping parameters. Everything else is skipped by length.
//
// The walk is flat: the reader steps from header to header and enters a container only because
// its handler sets the step to the header size ("descend"), so a handled chunk is recognised
// wherever it occurs. A malformed file is refused (Read3DS returns false) instead of being read
// past its chunks: a chunk shorter than its header or longer than its container or the file, a
// count whose records run past the chunk, a face naming a vertex or a face material list naming a
// face that does not exist, a list arriving before any mesh or material it applies to, and a
// file with no vertex list at all.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "scene/byte_source.h"
#include "scene/scene.h"

namespace maglorin {

class clsFile3DS {
public:
    explicit clsFile3DS(Scene& scene) : scene_(scene) {}

    // Resets the scene tables, camera and light, then reads the whole file. False when the file
    // cannot be opened or read or is malformed; LastError() then says why.
    bool Read3DS(const std::filesystem::path& FileName);
    // The same from any byte source (tests read models held in memory).
    bool Read3DSFrom(ByteSource& source);

    const std::string& LastError() const { return error_; }

private:
    void ResetScene();
    bool Walk();
    bool ReadChunk();
    bool Dispatch();
    bool Fail(const std::string& reason);
    void Descend();

    // Payload reads inside the current chunk; false when they would run past its end.
    bool ReadBytes(void* target, std::size_t count);
    bool ReadU16(std::uint16_t& value);
    bool ReadI16(std::int16_t& value);
    bool ReadFloat(float& value);
    bool ReadCString(std::string& text);
    bool SkipBytes(std::size_t count);
    bool ChunkHolds(std::size_t count, std::size_t recordBytes);  // before allocating a table

    MeshObject* LastMesh();
    Material* LastMaterial();

    bool ReadNamedObject();
    bool ReadVertexList();
    bool ReadFaceList();
    bool ReadFaceMaterialList();
    bool ReadMappingCoordinates();
    bool ReadMaterialName();
    bool ReadDiffuseColour();
    bool ReadTransparency();
    bool ReadMapFileName();
    bool ReadMapParameter();
    void DropShortMappings();

    Scene& scene_;
    ByteSource* source_ = nullptr;
    std::int64_t ChunkPos = 0;     // offset of the next chunk header
    std::uint16_t ChunkId = 0;
    std::int64_t ChunkLen = 0;     // how far ChunkPos advances after the current chunk
    std::string CurrentObjectName;
    std::int64_t payloadPos_ = 0;  // next payload byte of the current chunk
    std::int64_t chunkEnd_ = 0;    // end of the current chunk as its header declares it
    std::vector<std::int64_t> containerEnds_;  // ends of the containers entered, innermost last
    std::string error_;
};

}  // namespace maglorin
