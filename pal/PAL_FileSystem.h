#pragma once

#include <string>
#include <vector>

namespace PAL
{

// The running executable's file name (after the last separator of
// /proc/self/exe) and its directory (before it, without a trailing
// separator). Resource paths are the directory followed by an engine path
// that begins with a backslash.
const std::string& GetExecutableName();
const std::string& GetExecutableDirectory();

// Turns an engine path into a native one. Resource paths are built as the
// executable's directory followed by a backslash path
// (GetExecutableDirectory() + "\Resources\Fonts\a.fbf"):
// - every backslash becomes a slash (a leading one makes the path absolute);
// - when the result does not exist, each component that does not exist as
//   spelled is matched case-blind (ASCII) against its directory's entries;
//   components without any match are kept as spelled, so a path for a new
//   file resolves its existing directories and keeps the new name.
// Installed into core at start-up, so Core::DiskFile opens engine paths.
std::string ToNativePath(const std::string& path);

// Appends the name of every entry of the directory, "." and ".." included,
// in byte order. A path that is no readable directory appends nothing.
void ListDirectory(const std::string& path, std::vector<std::string>& names);

// False for a path that does not exist.
bool IsDirectory(const std::string& path);
// True for an existing entry that is neither a regular file nor a directory
// (device, pipe, socket): the entries a directory walk should pass over.
bool IsSystemFile(const std::string& path);

} // namespace PAL
