#include "framework/Velkor_ObjectCounter.h"

namespace Velkor
{

namespace
{

std::uint32_t g_objectCounter = 0;

} // namespace

std::uint32_t GetObjectCounter()
{
    return g_objectCounter;
}

void SetObjectCounter(std::uint32_t value)
{
    g_objectCounter = value;
}

std::uint32_t TakeObjectId()
{
    return g_objectCounter++;
}

void ResetObjectCounter()
{
    g_objectCounter = 0;
}

} // namespace Velkor
