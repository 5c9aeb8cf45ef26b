// The resource generator: writes every file the programs read below the
// executable's folder (fonts, GUI skins and images, the icon, the layer
// collision files, the demo images, the sound effects and music) and the
// review pictures and sounds.
//
//   assetgen <output folder>   writes <output folder>/Resources/... and
//                              <output folder>/review/...
//   assetgen --list            prints the manifest: kind, path, properties
//
// Output is deterministic: no clock, no system random numbers, only the
// generator's own noise; two runs write the same bytes.
#include "AssetGen_Collision.h"
#include "AssetGen_Demo.h"
#include "AssetGen_Fonts.h"
#include "AssetGen_FrameworkDemo.h"
#include "AssetGen_Icon.h"
#include "AssetGen_Output.h"
#include "AssetGen_Review.h"
#include "AssetGen_Sheets.h"
#include "AssetGen_Skins.h"
#include "AssetGen_Sounds.h"
#include "AssetGen_SpriteReview.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace
{

AssetGen::Manifest BuildManifest()
{
    AssetGen::Manifest manifest;
    AssetGen::ListFonts(manifest);
    AssetGen::ListSkins(manifest);
    AssetGen::ListIcon(manifest);
    AssetGen::ListCollisionFiles(manifest);
    AssetGen::ListDemo(manifest);
    AssetGen::ListFrameworkDemo(manifest);
    AssetGen::ListSheets(manifest);
    AssetGen::ListReview(manifest);
    AssetGen::ListSpriteReview(manifest);
    AssetGen::ListSounds(manifest);
    return manifest;
}

int Run(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: assetgen <output folder> | --list\n");
        return 2;
    }
    const AssetGen::Manifest manifest = BuildManifest();
    if (std::strcmp(argv[1], "--list") == 0)
    {
        for (const AssetGen::ManifestEntry& entry : manifest)
        {
            std::printf("%s\t%s\t%s\n", entry.kind.c_str(), entry.path.c_str(), entry.properties.c_str());
        }
        return 0;
    }
    AssetGen::Output output(argv[1], manifest);
    const bool ok = AssetGen::MakeFonts(output) && AssetGen::MakeSkins(output) &&
                    AssetGen::MakeIcon(output) && AssetGen::MakeCollisionFiles(output) &&
                    AssetGen::MakeDemo(output) && AssetGen::MakeFrameworkDemo(output) &&
                    AssetGen::MakeSheets(output) && AssetGen::MakeReview(output) &&
                    AssetGen::MakeSpriteReview(output) && AssetGen::MakeSounds(output) && output.Finish();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    try
    {
        return Run(argc, argv);
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
}
