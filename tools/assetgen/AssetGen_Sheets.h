#pragma once

#include "AssetGen_Canvas.h"
#include "AssetGen_Output.h"

#include <functional>
#include <string>
#include <vector>

namespace AssetGen
{

// A collision actor's shapes in one frame, in object units (y up, origin at
// the object's position, which is the cell's centre).
struct ActorCircle
{
    float x, y, radius;
};

struct ActorSegment
{
    float x1, y1, x2, y2;
};

struct FrameShapes
{
    std::vector<ActorCircle> circles;
    std::vector<ActorSegment> segments;
};

// How a sheet's pixels are meant to be read (the tests and the review pick
// their checks by it).
enum class SheetKind
{
    Picture, // a full-screen picture below the play
    Overlay, // a full-screen picture above the play: transparent over it
    Veil,    // the pause veil: translucent over the play
    Button,
    Ball,   // a solid body on the actor's circle
    Ring,   // a ring on the actor's circle
    Beam,   // opaque along the actor's segments
    Effect, // no collision shape to match
};

// A cell in pixels: (x, y) with y down from the cell's top-left.
struct CellPoint
{
    float x, y;
};

struct Sheet
{
    std::string name;
    int columns;
    int rows;
    int frames;
    int cellWidth;
    int cellHeight;
    // The collision actor and its first frame, or -1.
    int actor;
    int firstActorFrame;
    SheetKind kind;
    std::function<void(Canvas& cell, int frame, const FrameShapes& shapes)> draw;

    // The actor's shapes of a frame (empty without an actor).
    FrameShapes Shapes(int frame) const;
    // Object units to cell pixels.
    CellPoint ToCell(float x, float y) const
    {
        return {static_cast<float>(cellWidth) * 0.5f + x, static_cast<float>(cellHeight) * 0.5f - y};
    }
};

const std::vector<Sheet>& GetSheets();
const Sheet& GetSheet(const std::string& name);
// The whole sheet image, drawn once and kept.
const Canvas& RenderSheet(const Sheet& sheet);

void ListSheets(Manifest& manifest);
bool MakeSheets(Output& output);

} // namespace AssetGen
