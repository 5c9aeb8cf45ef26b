#include "collision/Collision_Settings.h"

namespace Collision2D
{

namespace
{

std::int32_t maximumInterpolationValue = DefaultMaximumInterpolationValue;
std::int32_t layerCounter = 0;
std::uint32_t staticCircleSerial = 1;
std::uint32_t staticLineSegmentSerial = 1;
std::uint32_t tileMapSerial = 1;

} // namespace

std::int32_t GetMaximumInterpolationValue()
{
    return maximumInterpolationValue;
}

bool SetMaximumInterpolationValue(std::int32_t value)
{
    if (value < 1)
    {
        return false;
    }
    maximumInterpolationValue = value;
    return true;
}

std::int32_t GetLayerCounter()
{
    return layerCounter;
}

void SetLayerCounter(std::int32_t value)
{
    layerCounter = value;
}

std::int32_t TakeLayerIndex()
{
    return layerCounter++;
}

std::uint32_t GetStaticCircleSerial()
{
    return staticCircleSerial;
}

void SetStaticCircleSerial(std::uint32_t value)
{
    staticCircleSerial = value;
}

std::uint32_t TakeStaticCircleSerial()
{
    return staticCircleSerial++;
}

std::uint32_t GetStaticLineSegmentSerial()
{
    return staticLineSegmentSerial;
}

void SetStaticLineSegmentSerial(std::uint32_t value)
{
    staticLineSegmentSerial = value;
}

std::uint32_t TakeStaticLineSegmentSerial()
{
    return staticLineSegmentSerial++;
}

std::uint32_t GetTileMapSerial()
{
    return tileMapSerial;
}

void SetTileMapSerial(std::uint32_t value)
{
    tileMapSerial = value;
}

std::uint32_t TakeTileMapSerial()
{
    return tileMapSerial++;
}

void ResetCollisionCounters()
{
    layerCounter = 0;
    staticCircleSerial = 1;
    staticLineSegmentSerial = 1;
    tileMapSerial = 1;
}

} // namespace Collision2D
