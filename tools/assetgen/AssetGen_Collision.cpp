// Layer collision files: a section word and a segment count, the records
// "x1,y1,x2,y2,z,uid", then a section word and a circle count with records
// "cx,cy,r,z,uid". Only the arena layers hold anything: four walls, each as
// two segments of opposite direction (static segments are one-sided), at
// z 0 so every ball kind that bounces tests them.
#include "AssetGen_Collision.h"

#include <string>
#include <vector>

namespace AssetGen
{

namespace
{

constexpr int LevelCount = 9;
constexpr int LayerCount = 3;

struct Bounds
{
    int x, y, width, height;
};

// The collision bounds of each level's layers (HUD, "layer1", "layer2").
const Bounds LayerBounds[LevelCount][LayerCount] = {
    {{-400, -300, 800, 600}, {-512, -384, 1024, 768}, {-400, -300, 800, 600}},
    {{-451, -300, 851, 707}, {-944, -572, 1920, 1097}, {-400, -300, 800, 600}},
    {{-400, -300, 800, 600}, {-512, -384, 1024, 768}, {-400, -300, 800, 600}},
    {{-400, -300, 800, 600}, {-512, -384, 1024, 768}, {-400, -300, 800, 600}},
    {{-512, -384, 1024, 768}, {-670, -476, 1327, 860}, {-512, -384, 1024, 768}},
    {{-512, -384, 1024, 768}, {-512, -384, 1024, 768}, {-512, -384, 1024, 768}},
    {{-512, -384, 1024, 768}, {-512, -384, 1024, 768}, {-512, -384, 1024, 768}},
    {{-512, -384, 1024, 768}, {-512, -384, 1024, 768}, {-512, -384, 1024, 768}},
    {{-512, -384, 1024, 768}, {-512, -384, 1024, 768}, {-512, -384, 1024, 768}},
};

struct Wall
{
    int x1, y1, x2, y2;
};

// The play level's and the tutorial's "layer1".
bool HasArena(int level, int layer)
{
    return layer == 1 && (level == 1 || level == 4);
}

std::vector<Wall> ArenaWalls()
{
    const int w = Arena::HalfWidth, h = Arena::HalfHeight;
    const Wall sides[] = {{-w, -h, w, -h}, {w, -h, w, h}, {w, h, -w, h}, {-w, h, -w, -h}};
    std::vector<Wall> walls;
    for (const Wall& side : sides)
    {
        walls.push_back(side);
        walls.push_back({side.x2, side.y2, side.x1, side.y1});
    }
    return walls;
}

bool Inside(const Bounds& bounds, int x, int y)
{
    return x >= bounds.x && y >= bounds.y && x <= bounds.x + bounds.width && y <= bounds.y + bounds.height;
}

std::string FilePath(int level, int layer)
{
    return "Resources/Layers Collisions/level" + std::to_string(level) + "_layer" + std::to_string(layer) +
           ".txt";
}

} // namespace

void ListCollisionFiles(Manifest& manifest)
{
    for (int level = 0; level < LevelCount; ++level)
    {
        for (int layer = 0; layer < LayerCount; ++layer)
        {
            const std::size_t segments = HasArena(level, layer) ? ArenaWalls().size() : 0;
            manifest.push_back({FilePath(level, layer), "layer collisions",
                                std::to_string(segments) + " segments, 0 circles"});
        }
    }
}

bool MakeCollisionFiles(Output& output)
{
    for (int level = 0; level < LevelCount; ++level)
    {
        for (int layer = 0; layer < LayerCount; ++layer)
        {
            std::string text;
            if (HasArena(level, layer))
            {
                const std::vector<Wall> walls = ArenaWalls();
                text += "SEGMENTS " + std::to_string(walls.size()) + "\n";
                int uid = 1;
                for (const Wall& wall : walls)
                {
                    const Bounds& bounds = LayerBounds[level][layer];
                    if (!Inside(bounds, wall.x1, wall.y1) || !Inside(bounds, wall.x2, wall.y2))
                    {
                        return TableError("collision",
                                          FilePath(level, layer) + " wall " + std::to_string(uid),
                                          "the wall leaves the layer's collision bounds");
                    }
                    text += std::to_string(wall.x1) + "," + std::to_string(wall.y1) + "," +
                            std::to_string(wall.x2) + "," + std::to_string(wall.y2) + ",0," +
                            std::to_string(uid) + "\n";
                    ++uid;
                }
            }
            else
            {
                text += "SEGMENTS 0\n";
            }
            text += "CIRCLES 0\n";
            if (!output.WriteText(FilePath(level, layer), text))
            {
                return false;
            }
        }
    }
    return true;
}

} // namespace AssetGen
