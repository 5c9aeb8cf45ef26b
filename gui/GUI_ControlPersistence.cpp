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
    float position[2] = {};
    NRectangle rectangles[4];
    std::vector<Core::RefPtr<Control>> children;
    std::vector<Core::RefPtr<Control>> pendingRemovals;
    Core::RefPtr<Control> parent;
    Core::RefPtr<Control> lastAdded;
    Core::RefPtr<Control> remembered;
    std::string name;
    Core::RefPtr<Cursor> cursor;
    float colors[8] = {};
    float opacity = 0.0f;
    std::uint8_t flags[5] = {};
    std::int32_t tabIndex = 0;
    std::string text;
    std::string fontName;
    std::string skinName;
    float depth = 0.0f;
    std::uint32_t clipMode = 0;
    std::int32_t tabPositions[2] = {};
    Core::RefPtr<Core::Object> userData;
    std::vector<Core::RefPtr<Control>> tabList;
    float size[2] = {};
    float previousMouse[2] = {};
    std::uint8_t mouseFlags[4] = {};
    float clicks[3] = {};
    std::uint8_t lastFlags[2] = {};
    float mouse[2] = {};
    Core::RefPtr<Control> childToFront;

    file.Read(position, sizeof position);
    for (NRectangle& rectangle : rectangles)
    {
        rectangle.Read(file);
    }
    if (file.Failed() || !ReadObjectList(file, children) || !ReadObjectList(file, pendingRemovals))
    {
        return;
    }
    Core::ReadRefPtr(file, parent);
    Core::ReadRefPtr(file, lastAdded);
    Core::ReadRefPtr(file, remembered);
    file >> name;
    Core::ReadRefPtr(file, cursor);
    file.Read(colors, sizeof colors);
    file >> opacity;
    file.Read(flags, sizeof flags);
    file >> tabIndex >> text >> fontName >> skinName >> depth >> clipMode;
    file.Read(tabPositions, sizeof tabPositions);
    Core::ReadRefPtr(file, userData);
    if (file.Failed() || !ReadObjectList(file, tabList))
    {
        return;
    }
    file.Read(size, sizeof size);
    file.Read(previousMouse, sizeof previousMouse);
    file.Read(mouseFlags, sizeof mouseFlags);
    file.Read(clicks, sizeof clicks);
    file.Read(lastFlags, sizeof lastFlags);
    file.Read(mouse, sizeof mouse);
    Core::ReadRefPtr(file, childToFront);
    if (file.Failed())
    {
        return;
    }
    const auto tabCount = static_cast<std::int32_t>(tabList.size());
    bool sound = std::all_of(std::begin(flags), std::end(flags), IsFlag) &&
                 std::all_of(std::begin(mouseFlags), std::end(mouseFlags), IsFlag) &&
                 std::all_of(std::begin(lastFlags), std::end(lastFlags), IsFlag) && clipMode <= 2 &&
                 opacity >= 0.0f && opacity <= 1.0f && parent.Get() != this;
    for (const std::int32_t tabPosition : tabPositions)
    {
        sound = sound && tabPosition >= -1 && tabPosition < tabCount;
    }
    if (!sound)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }

    for (const Core::RefPtr<Control>& child : children_)
    {
        Forget(child.Get());
    }
    position_ = Math::Vector2D(position[0], position[1]);
    rectangle_ = rectangles[0];
    clientRectangle_ = rectangles[1];
    visibleRectangle_ = rectangles[2];
    visibleClientRectangle_ = rectangles[3];
    children_ = std::move(children);
    pendingRemovals_ = std::move(pendingRemovals);
    parent_ = parent.Get();
    lastAddedChild_ = lastAdded.Get();
    rememberedChild_ = remembered.Get();
    name_ = name;
    cursor_ = cursor;
    modulationColor_ = Math::Vector4(colors[0], colors[1], colors[2], colors[3]);
    textModulationColor_ = Math::Vector4(colors[4], colors[5], colors[6], colors[7]);
    opacity_ = opacity;
    visible_ = flags[0];
    enabled_ = flags[1];
    tabStop_ = flags[2];
    focused_ = flags[3];
    layoutDirty_ = flags[4];
    tabIndex_ = tabIndex;
    text_ = text;
    skinName_ = skinName;
    depth_ = depth;
    clipMode_ = clipMode;
    tabPosition_ = tabPositions[0];
    previousTabPosition_ = tabPositions[1];
    userData_ = userData;
    tabList_ = std::move(tabList);
    width_ = size[0];
    height_ = size[1];
    previousMousePosition_ = Math::Vector2D(previousMouse[0], previousMouse[1]);
    mouseEntered_ = mouseFlags[0];
    pressed_ = mouseFlags[1];
    focusToParent_ = mouseFlags[2];
    firstClickSeen_ = mouseFlags[3];
    doubleClickMinimum_ = clicks[0];
    doubleClickMaximum_ = clicks[1];
    clickTimer_ = clicks[2];
    acceptsEnter_ = lastFlags[0];
    mouseDirectlyOver_ = lastFlags[1];
    mousePosition_ = Math::Vector2D(mouse[0], mouse[1]);
    childToFront_ = childToFront;
    fontName_.clear();
    font_ = nullptr;
    if (!fontName.empty())
    {
        // Looked up again; no change hook runs for a read.
        const std::string previous = fontName;
        SetFont(previous);
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
