#include "frame_scene.h"

namespace maglorin::render_tool {

namespace {

// Every field but the two texture surfaces; the copy's views point at the source's words.
void CopyMaterialSharingTexture(const Material& source, Material& copy) {
    copy.Name = source.Name;
    copy.Diffuse = source.Diffuse;
    copy.HasTexture = source.HasTexture;
    copy.TextureFile = source.TextureFile;
    copy.UOffset = source.UOffset;
    copy.VOffset = source.VOffset;
    copy.UScale = source.UScale;
    copy.VScale = source.VScale;
    copy.Rotation = source.Rotation;
    copy.Transparency = source.Transparency;
    copy.Mirror = source.Mirror;
    copy.Flip = source.Flip;
    copy.TexturePixels = source.TexturePixels;
    copy.TextureWorkPixels = source.TextureWorkPixels;
}

void CopyViewAndSwitches(const Scene& source, Scene& copy) {
    copy.ModelRotation = source.ModelRotation;
    copy.ModelTranslation = source.ModelTranslation;
    copy.ModelScale = source.ModelScale;
    copy.WorldMatrix = source.WorldMatrix;
    copy.FitTranslation = source.FitTranslation;
    copy.FitScale = source.FitScale;
    copy.Camera = source.Camera;
    copy.Light = source.Light;
    copy.ClipLeft = source.ClipLeft;
    copy.ClipRight = source.ClipRight;
    copy.ClipTop = source.ClipTop;
    copy.ClipBottom = source.ClipBottom;
    copy.CanvasWidth = source.CanvasWidth;
    copy.CanvasHeight = source.CanvasHeight;
    copy.CentreX = source.CentreX;
    copy.CentreY = source.CentreY;
    copy.ModelLoaded = source.ModelLoaded;
    copy.CurrentStyle = source.CurrentStyle;
    copy.ModelFolder = source.ModelFolder;
    copy.DoubleSided = source.DoubleSided;
    copy.LightOn = source.LightOn;
    copy.BackgroundFile = source.BackgroundFile;
    copy.WheelMouse = source.WheelMouse;
    copy.KeyStep = source.KeyStep;
    copy.UseBackground = source.UseBackground;
}

}  // namespace

void CopySceneForFrame(const Scene& source, Scene& copy) {
    copy.Meshes = source.Meshes;
    copy.MeshUBound = source.MeshUBound;
    copy.Materials.clear();
    copy.Materials.resize(source.Materials.size());
    for (std::size_t k = 0; k < source.Materials.size(); ++k) {
        CopyMaterialSharingTexture(source.Materials[k], copy.Materials[k]);
    }
    copy.MaterialUBound = source.MaterialUBound;
    copy.SortList = source.SortList;
    CopyViewAndSwitches(source, copy);
    copy.BackgroundPixels = source.BackgroundPixels;
    copy.FrameSurface.Create(source.FrameSurface.Width(), source.FrameSurface.Height(), copy.FramePixels,
                             source.FrameSurface.BottomUp());
}

}  // namespace maglorin::render_tool
