// A control's record: 32 fields in declaration order. The event lists, the
// font object and the text drawable are not written; the font is looked up
// again from its name.

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_ObjectList.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace GUI
{

namespace
{

void WriteVector(Core::File& file, const Math::Vector2D& v)
{
    file << v.x << v.y;
}

void WriteColor(Core::File& file, const Math::Vector4& c)
{
    file << c.x << c.y << c.z << c.w;
}

void WriteList(Core::File& file, const std::vector<Core::RefPtr<Control>>& list)
{
    file << static_cast<std::uint32_t>(list.size());
    for (const Core::RefPtr<Control>& control : list)
    {
        file.WriteObject(control.Get());
    }
}

bool Contains(const std::vector<Core::RefPtr<Control>>& list, const Control* control)
{
    return std::any_of(list.begin(), list.end(),
                       [control](const Core::RefPtr<Control>& entry) { return entry.Get() == control; });
}

bool IsFlag(std::uint8_t value)
{
    return value <= 1;
}

} // namespace

void Control::Write(Core::File& file) const
{
    WriteVector(file, position_);
    rectangle_.Write(file);
    clientRectangle_.Write(file);
    visibleRectangle_.Write(file);
    visibleClientRectangle_.Write(file);
    WriteList(file, children_);
    WriteList(file, pendingRemovals_);
    file.WriteObject(parent_);
    file.WriteObject(lastAddedChild_);
    file.WriteObject(rememberedChild_);
    file << name_;
    file.WriteObject(cursor_.Get());
    WriteColor(file, modulationColor_);
    WriteColor(file, textModulationColor_);
    file << opacity_ << visible_ << enabled_ << tabStop_ << focused_ << layoutDirty_ << tabIndex_;
    file << text_ << fontName_ << skinName_;
    file << depth_ << clipMode_ << tabPosition_ << previousTabPosition_;
    file.WriteObject(userData_.Get());
    WriteList(file, tabList_);
    file << width_ << height_;
    WriteVector(file, previousMousePosition_);
    file << mouseEntered_ << pressed_ << focusToParent_ << firstClickSeen_;
    file << doubleClickMinimum_ << doubleClickMaximum_ << clickTimer_;
    file << acceptsEnter_ << mouseDirectlyOver_;
    WriteVector(file, mousePosition_);
    file.WriteObject(childToFront_.Get());
}

void Control::Read(Core::File& file)
{
    Core::File::ReadingScope scope(file, *this);
    Record record;
    if (ReadRecord(file, record))
    {
        ApplyRecord(record, file);
    }
}

bool Control::ReadRecord(Core::File& file, Record& r)
{
    file.Read(r.position, sizeof r.position);
    for (NRectangle& rectangle : r.rectangles)
    {
        rectangle.Read(file);
    }
    if (file.Failed() || !ReadObjectList(file, r.children) || !ReadObjectList(file, r.pendingRemovals))
    {
        return false;
    }
    Core::ReadRefPtr(file, r.parent);
    Core::ReadRefPtr(file, r.lastAdded);
    Core::ReadRefPtr(file, r.remembered);
    file >> r.name;
    Core::ReadRefPtr(file, r.cursor);
    file.Read(r.colors, sizeof r.colors);
    file >> r.opacity;
    file.Read(r.flags, sizeof r.flags);
    file >> r.tabIndex >> r.text >> r.fontName >> r.skinName >> r.depth >> r.clipMode;
    file.Read(r.tabPositions, sizeof r.tabPositions);
    Core::ReadRefPtr(file, r.userData);
    if (file.Failed() || !ReadObjectList(file, r.tabList))
    {
        return false;
    }
    file.Read(r.size, sizeof r.size);
    file.Read(r.previousMouse, sizeof r.previousMouse);
    file.Read(r.mouseFlags, sizeof r.mouseFlags);
    file.Read(r.clicks, sizeof r.clicks);
    file.Read(r.lastFlags, sizeof r.lastFlags);
    file.Read(r.mouse, sizeof r.mouse);
    Core::ReadRefPtr(file, r.childToFront);
    if (file.Failed())
    {
        return false;
    }
    const auto tabCount = static_cast<std::int32_t>(r.tabList.size());
    bool sound = std::all_of(std::begin(r.flags), std::end(r.flags), IsFlag) &&
                 std::all_of(std::begin(r.mouseFlags), std::end(r.mouseFlags), IsFlag) &&
                 std::all_of(std::begin(r.lastFlags), std::end(r.lastFlags), IsFlag) && r.clipMode <= 2 &&
                 r.opacity >= 0.0f && r.opacity <= 1.0f && r.parent.Get() != this;
    for (const std::int32_t tabPosition : r.tabPositions)
    {
        sound = sound && tabPosition >= -1 && tabPosition < tabCount;
    }
    if (!sound)
    {
        file.SetError(Core::FileError::BadData);
        return false;
    }
    return true;
}

void Control::ApplyRecord(Record& r, Core::File& file)
{
    for (const Core::RefPtr<Control>& child : children_)
    {
        Forget(child.Get());
    }
    position_ = Math::Vector2D(r.position[0], r.position[1]);
    rectangle_ = r.rectangles[0];
    clientRectangle_ = r.rectangles[1];
    visibleRectangle_ = r.rectangles[2];
    visibleClientRectangle_ = r.rectangles[3];
    children_ = std::move(r.children);
    pendingRemovals_ = std::move(r.pendingRemovals);
    parent_ = r.parent.Get();
    lastAddedChild_ = r.lastAdded.Get();
    rememberedChild_ = r.remembered.Get();
    name_ = r.name;
    cursor_ = r.cursor;
    modulationColor_ = Math::Vector4(r.colors[0], r.colors[1], r.colors[2], r.colors[3]);
    textModulationColor_ = Math::Vector4(r.colors[4], r.colors[5], r.colors[6], r.colors[7]);
    opacity_ = r.opacity;
    visible_ = r.flags[0];
    enabled_ = r.flags[1];
    tabStop_ = r.flags[2];
    focused_ = r.flags[3];
    layoutDirty_ = r.flags[4];
    tabIndex_ = r.tabIndex;
    text_ = r.text;
    skinName_ = r.skinName;
    depth_ = r.depth;
    clipMode_ = r.clipMode;
    tabPosition_ = r.tabPositions[0];
    previousTabPosition_ = r.tabPositions[1];
    userData_ = r.userData;
    tabList_ = std::move(r.tabList);
    width_ = r.size[0];
    height_ = r.size[1];
    previousMousePosition_ = Math::Vector2D(r.previousMouse[0], r.previousMouse[1]);
    mouseEntered_ = r.mouseFlags[0];
    pressed_ = r.mouseFlags[1];
    focusToParent_ = r.mouseFlags[2];
    firstClickSeen_ = r.mouseFlags[3];
    doubleClickMinimum_ = r.clicks[0];
    doubleClickMaximum_ = r.clicks[1];
    clickTimer_ = r.clicks[2];
    acceptsEnter_ = r.lastFlags[0];
    mouseDirectlyOver_ = r.lastFlags[1];
    mousePosition_ = Math::Vector2D(r.mouse[0], r.mouse[1]);
    childToFront_ = r.childToFront;
    fontName_.clear();
    font_ = nullptr;
    if (!r.fontName.empty())
    {
        // Looked up again; no change hook runs for a read.
        SetFont(r.fontName);
    }
    // The links between the controls of the graph are checked once all of
    // them are read.
    Core::File* archive = &file;
    file.AtEndOfRead(
        [this, archive]
        {
            if (!LinksAgree())
            {
                archive->SetError(Core::FileError::BadData);
            }
        });
}

bool Control::Record::HasChild(const Control* control) const
{
    return Contains(children, control);
}

bool Control::LinksAgree() const
{
    // Its own ancestor: the parent chain would never end.
    std::unordered_set<const Control*> seen;
    for (const Control* control = this; control != nullptr; control = control->parent_)
    {
        if (!seen.insert(control).second)
        {
            return false;
        }
    }
    if (parent_ != nullptr && !Contains(parent_->children_, this))
    {
        return false;
    }
    for (const Core::RefPtr<Control>& child : children_)
    {
        if (child->parent_ != this)
        {
            return false;
        }
    }
    const auto isChildOrNone = [this](const Control* control)
    { return control == nullptr || Contains(children_, control); };
    if (!isChildOrNone(lastAddedChild_) || !isChildOrNone(rememberedChild_) ||
        !isChildOrNone(childToFront_.Get()))
    {
        return false;
    }
    const auto allChildren = [&](const std::vector<Core::RefPtr<Control>>& list)
    {
        return std::all_of(list.begin(), list.end(),
                           [&](const Core::RefPtr<Control>& entry) { return isChildOrNone(entry.Get()); });
    };
    return allChildren(tabList_) && allChildren(pendingRemovals_);
}

} // namespace GUI
