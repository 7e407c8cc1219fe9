#pragma once
// Chunk ids of the 3D Studio mesh format that the model reader handles or the writer produces.
// The reader (clsFile3DS) and the writer (model_writer) share this list.

#include <cstdint>

namespace maglorin::chunk {

inline constexpr std::uint16_t kZero = 0x0000;             // descended like a container
inline constexpr std::uint16_t kFileVersion = 0x0002;
inline constexpr std::uint16_t kColourFloat = 0x0010;      // 3 reals 0..1
inline constexpr std::uint16_t kColour24 = 0x0011;         // 3 bytes
inline constexpr std::uint16_t kLinearColour24 = 0x0012;   // 3 bytes, gamma-corrected
inline constexpr std::uint16_t kLinearColourFloat = 0x0013;
inline constexpr std::uint16_t kPercentInt = 0x0030;       // 16-bit 0..100
inline constexpr std::uint16_t kPercentFloat = 0x0031;     // real 0..100
inline constexpr std::uint16_t kMasterScale = 0x0100;
inline constexpr std::uint16_t kMeshVersion = 0x3D3E;
inline constexpr std::uint16_t kMain = 0x4D4D;
inline constexpr std::uint16_t kEditor = 0x3D3D;
inline constexpr std::uint16_t kNamedObject = 0x4000;
inline constexpr std::uint16_t kTriangleMesh = 0x4100;
inline constexpr std::uint16_t kVertexList = 0x4110;
inline constexpr std::uint16_t kFaceList = 0x4120;
inline constexpr std::uint16_t kFaceMaterialList = 0x4130;
inline constexpr std::uint16_t kMappingCoordinates = 0x4140;
inline constexpr std::uint16_t kSmoothingGroups = 0x4150;
inline constexpr std::uint16_t kLocalAxes = 0x4160;
inline constexpr std::uint16_t kMaterialBlock = 0xAFFF;
inline constexpr std::uint16_t kMaterialName = 0xA000;
inline constexpr std::uint16_t kAmbientColour = 0xA010;
inline constexpr std::uint16_t kDiffuseColour = 0xA020;
inline constexpr std::uint16_t kSpecularColour = 0xA030;
inline constexpr std::uint16_t kTransparency = 0xA050;
inline constexpr std::uint16_t kTextureMap1 = 0xA200;
inline constexpr std::uint16_t kMapFileName = 0xA300;
inline constexpr std::uint16_t kMapUScale = 0xA354;
inline constexpr std::uint16_t kMapVScale = 0xA356;
inline constexpr std::uint16_t kMapUOffset = 0xA358;
inline constexpr std::uint16_t kMapVOffset = 0xA35A;
inline constexpr std::uint16_t kMapRotation = 0xA35C;
inline constexpr std::uint16_t kKeyframer = 0xB000;

inline constexpr std::uint32_t kHeaderSize = 6;

}  // namespace maglorin::chunk
