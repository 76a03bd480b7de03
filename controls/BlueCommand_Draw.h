#pragma once

#include "platform/draw/DeviceContext.h"

// The four faces of the push button: a rounded strip 23 pixels high and W
// wide (W single-precision), painted pixel by pixel from fixed colour tables.
// (0,0), (0,22) and (W-1,22) are never painted, nor (W-1,0) in the normal
// face: the surface's background shows there and rounds the corners.
namespace BlueCommand_Draw {

inline constexpr int FaceHeight = 23;

void DrawFaceNormal(Draw::DeviceContext *hdc, float width);
void DrawFaceDefault(Draw::DeviceContext *hdc, float width);
void DrawFaceHover(Draw::DeviceContext *hdc, float width);
void DrawFacePressed(Draw::DeviceContext *hdc, float width);

} // namespace BlueCommand_Draw
