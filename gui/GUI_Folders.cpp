#include "gui/GUI_Folders.h"

#include "pal/PAL_FileSystem.h"

namespace GUI
{

std::string GetResourcesFolderName()
{
    return "Resources";
}

std::string GetSkinsFolder()
{
    return PAL::GetExecutableDirectory() + "\\" + GetResourcesFolderName() + "\\Skins";
}

std::string GetOverlaysFolder()
{
    return GetSkinsFolder() + "\\Overlays";
}

std::string GetFontsFolder()
{
    return PAL::GetExecutableDirectory() + "\\" + GetResourcesFolderName() + "\\Fonts";
}

std::string GetCursorsFolder()
{
    return PAL::GetExecutableDirectory() + "\\" + GetResourcesFolderName() + "\\Cursors";
}

std::string GetSkinPath(const std::string& name)
{
    return GetSkinsFolder() + "\\" + name + "\\" + name;
}

std::string GetSkinFilePath(const std::string& name)
{
    return GetSkinsFolder() + "\\" + name;
}

std::string GetOverlayPath(const std::string& name)
{
    return GetOverlaysFolder() + "\\" + name;
}

std::string GetFontPath(const std::string& name)
{
    return GetFontsFolder() + "\\" + name + "\\" + name;
}

std::string GetCursorPath(const std::string& name)
{
    return GetCursorsFolder() + "\\" + name;
}

} // namespace GUI
