#include "core/Core_Assert.h"

#include <cstdio>
#include <cstdlib>

namespace Core
{

void AssertionFailed(const char* file, int line, const char* condition) noexcept
{
    std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace Core
