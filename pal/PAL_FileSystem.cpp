#include "pal/PAL_FileSystem.h"

#include "core/Core_DiskFile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace PAL
{

namespace
{

struct ExecutablePath
{
    std::string name;
    std::string directory;
};

const ExecutablePath& GetExecutablePath()
{
    static const ExecutablePath path = []
    {
        ExecutablePath result;
        std::string full(256, '\0');
        for (;;)
        {
            const ssize_t length = readlink("/proc/self/exe", full.data(), full.size());
            if (length < 0)
            {
                full.clear();
                break;
            }
            if (static_cast<std::size_t>(length) < full.size())
            {
                full.resize(static_cast<std::size_t>(length));
                break;
            }
            full.resize(full.size() * 2);
        }
        const std::size_t cut = full.find_last_of('/');
        if (cut == std::string::npos)
        {
            result.name = full;
        }
        else
        {
            result.name = full.substr(cut + 1);
            result.directory = full.substr(0, cut);
        }
        return result;
    }();
    return path;
}

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The entry of `directory` whose name equals `name` ignoring ASCII case; the
// byte-wise smallest when several do, so the choice does not depend on the
// order the directory lists them in.
bool FindCaseBlind(const std::string& directory, const std::string& name, std::string& match)
{
    DIR* stream = opendir(directory.empty() ? "." : directory.c_str());
    if (stream == nullptr)
    {
        return false;
    }
    bool found = false;
    while (const dirent* entry = readdir(stream))
    {
        if (strcasecmp(entry->d_name, name.c_str()) == 0 && (!found || match > entry->d_name))
        {
            match = entry->d_name;
            found = true;
        }
    }
    closedir(stream);
    return found;
}

std::string NativeForm(const std::string& path)
{
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

} // namespace

const std::string& GetExecutableName()
{
    return GetExecutablePath().name;
}

const std::string& GetExecutableDirectory()
{
    return GetExecutablePath().directory;
}

std::string ToNativePath(const std::string& path)
{
    const std::string native = NativeForm(path);
    if (native.empty() || Exists(native))
    {
        return native;
    }

    // Rebuild the path component by component. `resolved` is the part known
    // to exist (or kept as spelled once a component has no match).
    const bool absolute = native[0] == '/';
    std::string resolved = absolute ? "/" : "";
    bool matching = true;
    std::size_t start = absolute ? 1 : 0;
    while (start <= native.size())
    {
        std::size_t end = native.find('/', start);
        if (end == std::string::npos)
        {
            end = native.size();
        }
        const std::string component = native.substr(start, end - start);
        start = end + 1;
        if (component.empty())
        {
            continue;
        }
        const std::string directory = resolved;
        if (!resolved.empty() && resolved.back() != '/')
        {
            resolved += '/';
        }
        std::string match;
        if (matching && !Exists(resolved + component) && FindCaseBlind(directory, component, match))
        {
            resolved += match;
        }
        else
        {
            resolved += component;
            matching = matching && Exists(resolved);
        }
    }
    if (native.back() == '/' && resolved.back() != '/')
    {
        resolved += '/';
    }
    return resolved;
}

void ListDirectory(const std::string& path, std::vector<std::string>& names)
{
    DIR* stream = opendir(ToNativePath(path).c_str());
    if (stream == nullptr)
    {
        return;
    }
    std::vector<std::string> found;
    while (const dirent* entry = readdir(stream))
    {
        found.emplace_back(entry->d_name);
    }
    closedir(stream);
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
}

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return stat(ToNativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsSystemFile(const std::string& path)
{
    struct stat info;
    return stat(ToNativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
}

namespace
{

struct Installer
{
    Installer() { Core::SetNativePathFunction(&ToNativePath); }
};

const Installer g_installer;

} // namespace

} // namespace PAL
