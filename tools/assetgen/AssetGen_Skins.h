#pragma once

#include "AssetGen_Canvas.h"
#include "AssetGen_Output.h"

#include <string>
#include <vector>

namespace AssetGen
{

// One record of a ".gui" skin file, in texture pixels; y is counted from the
// texture's bottom row (texture v grows upwards).
struct SkinRecord
{
    float x, y, width, height;
    float leftEnd, rightStart, bottomEnd, topStart;
};

struct GeneratedSkin
{
    std::string name;
    std::vector<SkinRecord> records;
    Canvas texture;
};

// "DefaultFormSkin", "DefaultButtonSkin", "DefaultRadioButtonSkin".
const GeneratedSkin& GetSkin(const std::string& name);
// The GUI's single images by file name below the resource tree.
Canvas MakeCursor();
Canvas MakeGrayPicture();

// Draws a skin record nine-sliced into (x, y, width, height) of the canvas
// (y down) the way the GUI does: corners and edges at their border sizes,
// middle column and row stretched, nearest sampling.
void DrawNineSlice(Canvas& canvas, const GeneratedSkin& skin, std::size_t record, int x, int y, int width,
                   int height, Color tint = {1, 1, 1, 1});

void ListSkins(Manifest& manifest);
bool MakeSkins(Output& output);

} // namespace AssetGen
