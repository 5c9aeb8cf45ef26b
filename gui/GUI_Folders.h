#pragma once

#include <string>

namespace GUI
{

// The GUI's resource folders and files: engine paths (backslashes) below
// the executable's directory, opened through the platform's path mapping.
//
//   skins     <exe>\Resources\Skins           skin <name>: Skins\<name>\<name>(.gui, .png)
//   overlays  <exe>\Resources\Skins\Overlays  single images
//   fonts     <exe>\Resources\Fonts           font <name>: Fonts\<name>\<name>
//   cursors   <exe>\Resources\Cursors         cursor images
std::string GetResourcesFolderName();
std::string GetSkinsFolder();
std::string GetOverlaysFolder();
std::string GetFontsFolder();
std::string GetCursorsFolder();
// A skin's base path, without extension.
std::string GetSkinPath(const std::string& name);
// A file directly in the skins folder ("White.png", "Gray.png").
std::string GetSkinFilePath(const std::string& name);
std::string GetOverlayPath(const std::string& name);
// A bitmap font's base path, without extension.
std::string GetFontPath(const std::string& name);
std::string GetCursorPath(const std::string& name);

// The names the controls use by default.
inline constexpr const char* DefaultFormSkin = "DefaultFormSkin";
inline constexpr const char* DefaultButtonSkin = "DefaultButtonSkin";
inline constexpr const char* DefaultRadioButtonSkin = "DefaultRadioButtonSkin";
inline constexpr const char* DefaultFont = "DefaultFont";
inline constexpr const char* DefaultCursor = "Arrow.png";

} // namespace GUI
