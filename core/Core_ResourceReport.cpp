#include "core/Core_ResourceReport.h"

#include "core/Core_DiskFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

namespace Core
{

namespace
{

// The files reported so far. Never destroyed: a resource released while the
// process exits may still report.
struct Reported
{
    std::mutex mutex;
    std::set<std::string> paths;
};

Reported& GetReported()
{
    static Reported* reported = new Reported();
    return *reported;
}

std::string DescribeOpening(const std::string& nativePath)
{
    std::FILE* stream = std::fopen(nativePath.c_str(), "rb");
    if (stream == nullptr)
    {
        return std::strerror(errno);
    }
    std::fclose(stream);
    return "its contents cannot be read";
}

} // namespace

void ReportUnreadableResource(const std::string& path, const std::string& problem, const std::string& fallback)
{
    const std::string nativePath = ToNativePath(path);
    Reported& reported = GetReported();
    const std::lock_guard<std::mutex> lock(reported.mutex);
    if (!reported.paths.insert(nativePath).second)
    {
        return;
    }
    const std::string why = problem.empty() ? DescribeOpening(nativePath) : problem;
    std::fprintf(stderr, "%s: cannot read \"%s\" (%s); %s\n", program_invocation_short_name, nativePath.c_str(),
                 why.c_str(), fallback.c_str());
    std::fflush(stderr);
}

void ForgetReportedResources()
{
    Reported& reported = GetReported();
    const std::lock_guard<std::mutex> lock(reported.mutex);
    reported.paths.clear();
}

} // namespace Core
