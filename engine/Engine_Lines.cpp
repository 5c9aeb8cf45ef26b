#include "engine/Engine_Lines.h"

#include "engine/Engine_RenderQueue.h"

namespace Engine
{

Lines* Lines::Clone() const
{
    return new ("Engine_Lines", __LINE__) Lines(*this);
}

std::uint32_t Lines::GetSize() const
{
    return sizeof(Lines);
}

void Lines::Update(float)
{
    world_ = GetParentWorldMatrix();
}

void Lines::Draw()
{
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!IsVisible() || points_.empty() || queue == nullptr)
    {
        return;
    }
    RenderQueueItem item;
    item.vertexArray = points_.data();
    item.vertexCount = static_cast<std::uint32_t>(points_.size());
    item.worldMatrix = world_;
    item.color = Math::Vector4(color.x, color.y, color.z, opacity);
    item.primitiveType = Renderer::PrimitiveLines;
    item.overlay = IsOverlay();
    queue->Submit(item);
}

void Lines::AddLine(const Math::Vector3& start, const Math::Vector3& end)
{
    points_.push_back(start);
    points_.push_back(end);
}

void Lines::SetStartPoint(std::uint32_t index, const Math::Vector3& point)
{
    if (index < GetLineCount())
    {
        points_[2 * std::size_t{index}] = point;
    }
}

Math::Vector3 Lines::GetStartPoint(std::uint32_t index) const
{
    return index < GetLineCount() ? points_[2 * std::size_t{index}] : Math::Vector3();
}

void Lines::SetEndPoint(std::uint32_t index, const Math::Vector3& point)
{
    if (index < GetLineCount())
    {
        points_[2 * std::size_t{index} + 1] = point;
    }
}

Math::Vector3 Lines::GetEndPoint(std::uint32_t index) const
{
    return index < GetLineCount() ? points_[2 * std::size_t{index} + 1] : Math::Vector3();
}

} // namespace Engine
