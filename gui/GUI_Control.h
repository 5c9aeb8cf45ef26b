#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_StringRenderContext.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_MemberFunction.h"
#include "gui/GUI_Rectangle.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace GUI
{

class Control;

// What mouse events carry: the button (0 left, 1 middle, 2 right, 3 none),
// two words that are 0, and the GUI mouse position.
struct MouseEvent
{
    std::uint32_t button = 3;
    std::uint32_t reserved0 = 0;
    std::uint32_t reserved1 = 0;
    float x = 0.0f;
    float y = 0.0f;
};

// The thirteen events of a control, in list order. MouseMove, MouseUp,
// MouseDown and Event12 carry a MouseEvent; the others only the control.
enum class Event : std::uint32_t
{
    Click,
    DoubleClick,
    Event3,
    ClickDone,
    DoubleClickDone,
    MouseEnter,
    MouseHover,
    MouseLeave,
    MouseMove,
    MouseUp,
    MouseDown,
    Event12,
    SizeChanged,
};
inline constexpr std::uint32_t EventCount = 13;

using Listener = MemberFunctionBase1Param<Control*>;
using MouseListener = MemberFunctionBase2Param<Control*, const MouseEvent&>;

// The base of every GUI element: a rectangle placed relative to its
// parent's client origin, a tree of children with a tab order, colours,
// opacity, a text with a font, a skin name, a cursor and thirteen event
// lists. The display updates every root each frame; a control's update
// stamps its depth, applies pending tree changes, reads mouse and keyboard,
// fires its events and then updates its children. Derived classes draw in
// PostUpdate.
//
// Tree changes are deferred: Destroy queues a control with its parent (or,
// for a root, with the display) and it leaves at the next safe point, so a
// listener may destroy its own control.
//
// Links that do not own (parent, remembered and last added child, the
// display's lists and slots) never outlive what they name: a control leaving
// its parent loses its parent link, a parent that goes clears its
// children's links, and a control that goes takes itself out of the
// display.
class Control : public Core::Object
{
    CORE_DECLARE_OBJECT(Control)

public:
    static constexpr const char* ScriptTypeName = "Control";

    // 64 x 64 at (0, 0).
    Control();
    Control(const Math::Vector2D& position, float width, float height);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() override;

    // --- Slots 8 to 48 ----------------------------------------------------
    virtual void SetPosition(const Math::Vector2D& position);
    virtual void SetText(const std::string& text) { text_ = text; }
    virtual const std::string& GetText() const { return text_; }
    virtual void SetVisible(bool visible);
    virtual void SetFont(const std::string& name);
    virtual void SetModulationColor(const Math::Vector4& color) { modulationColor_ = color; }
    // Clamped to [0, 1], then applied down the tree.
    virtual void SetOpacity(float opacity);
    virtual void SetEnabled(bool enabled);
    virtual void Click();
    virtual void DoubleClick();
    virtual void Event3();
    virtual void ClickDone();
    virtual void DoubleClickDone();
    virtual void MouseEnter();
    virtual void MouseHover();
    virtual void MouseLeave();
    virtual void MouseMove(const MouseEvent& event);
    virtual void MouseUp(const MouseEvent& event);
    // Moves the focus first, then calls the listeners.
    virtual void MouseDown(const MouseEvent& event);
    virtual void Event12(const MouseEvent& event);
    virtual void SizeChanged();
    virtual void OnSkinChanged() {}
    virtual void OnFontChanged() {}
    virtual void OnRootMouseDown() {}
    virtual void PreUpdate(float) {}
    virtual void PostUpdate(float) {}
    virtual bool IsMouseDirectlyOver() const { return mouseDirectlyOver_ != 0; }
    virtual Math::Vector2D GetClientOffset() const { return {}; }
    // Recomputes the rectangles from the absolute position (the stored
    // position stays), then the children's.
    virtual void UpdatePosition();
    virtual void StampDepth();
    virtual void ApplyEnabled() {}
    virtual void ApplyOpacity() {}
    virtual void Focus();
    virtual void Unfocus();
    virtual void TabToNext();
    virtual bool AdvanceTabPosition();
    virtual bool SetTabPosition(std::int32_t index);
    virtual void FocusTabPosition();
    virtual void FocusFirstTabStop();
    virtual void Tick(float) {}
    virtual void SetClientRectangle() { clientRectangle_ = rectangle_; }

    // --- Tree and layout --------------------------------------------------
    // Null and the control itself are refused.
    void AddControl(Control* child);
    void SetTabStop(bool tabStop);
    // By tab index, then renumbered 0, 1, 2 ...; tab positions outside the
    // list become -1.
    void SortTabList();
    void Destroy();
    void UnregisterTree();
    void BringChildToFront(Control* child) { childToFront_ = child; }
    NRectangle GetDrawingClipRectangle() const;
    Math::Vector2D GetAbsolutePosition() const;
    void Activate();
    void TakeFocus();
    void RestoreChildFocus();
    Control* GetControl(std::uint32_t index) const
    {
        return index < children_.size() ? children_[index].Get() : nullptr;
    }
    std::uint32_t GetControlCount() const { return static_cast<std::uint32_t>(children_.size()); }
    Control* GetControl(const std::string& name) const;
    void SetControlSize(float width, float height);
    void SetWidth(float width) { SetControlSize(width, height_); }
    void SetHeight(float height) { SetControlSize(width_, height); }
    void SetSkin(const std::string& skin);
    void SetTextModulationColor(const Math::Vector4& color) { textModulationColor_ = color; }
    void SetName(const std::string& name) { name_ = name; }
    void SetTabIndex(std::int32_t index) { tabIndex_ = index; }
    void SetUserData(Core::Object* data) { userData_ = data; }
    void SetCursor(const Core::RefPtr<Cursor>& cursor) { cursor_ = cursor; }
    void SetClipMode(std::uint32_t mode) { clipMode_ = mode <= 2 ? mode : 2; }
    void SetAcceptsEnter(bool accepts) { acceptsEnter_ = accepts ? 1 : 0; }
    void SetFocusToParent(bool toParent) { focusToParent_ = toParent ? 1 : 0; }
    bool GetFocusToParent() const { return focusToParent_ != 0; }
    bool GetAcceptsEnter() const { return acceptsEnter_ != 0; }
    void UpdateRectangles();
    void ClipRectangles();
    bool IsMouseOver() const;
    // Resets the depth stamps of the control and its descendants to 0.
    void ResetDepth();

    // The update of one frame, `dt` in seconds.
    void Update(float dt);

    // --- Events -----------------------------------------------------------
    // Appends a listener; refused (false) for a null object, an event of
    // the other kind, or one already listening with the same function.
    template <class Object> bool AddListener(Event event, Object* object, void (Object::*function)(Control*))
    {
        if (object == nullptr || function == nullptr || HasArgument(event))
        {
            return false;
        }
        return AddListener(event, std::make_unique<MemberFunction1Param<Object, Control*>>(object, function));
    }
    template <class Object>
    bool AddListener(Event event, Object* object, void (Object::*function)(Control*, const MouseEvent&))
    {
        if (object == nullptr || function == nullptr || !HasArgument(event))
        {
            return false;
        }
        return AddListener(event, std::make_unique<MemberFunction2Param<Object, Control*, const MouseEvent&>>(
                                      object, function));
    }
    std::size_t GetListenerCount(Event event) const;
    static bool HasArgument(Event event);

    // --- State ------------------------------------------------------------
    const Math::Vector2D& GetPosition() const { return position_; }
    float GetWidth() const { return width_; }
    float GetHeight() const { return height_; }
    const NRectangle& GetRectangle() const { return rectangle_; }
    const NRectangle& GetClientRectangle() const { return clientRectangle_; }
    const NRectangle& GetVisibleRectangle() const { return visibleRectangle_; }
    const NRectangle& GetVisibleClientRectangle() const { return visibleClientRectangle_; }
    Control* GetParent() const { return parent_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetSkin() const { return skinName_; }
    const std::string& GetFontName() const { return fontName_; }
    const Core::RefPtr<Engine::BitmapFont>& GetFont() const { return font_; }
    const Core::RefPtr<Cursor>& GetCursor() const { return cursor_; }
    const Math::Vector4& GetModulationColor() const { return modulationColor_; }
    const Math::Vector4& GetTextModulationColor() const { return textModulationColor_; }
    float GetOwnOpacity() const { return opacity_; }
    // Effective values, through the ancestors.
    float GetOpacity() const;
    bool IsVisible() const;
    bool IsEnabled() const;
    bool GetOwnVisible() const { return visible_ != 0; }
    bool GetOwnEnabled() const { return enabled_ != 0; }
    bool GetTabStop() const { return tabStop_ != 0; }
    bool IsFocused() const { return focused_ != 0; }
    bool IsPressed() const { return pressed_ != 0; }
    std::int32_t GetTabIndex() const { return tabIndex_; }
    std::int32_t GetTabPosition() const { return tabPosition_; }
    std::int32_t GetPreviousTabPosition() const { return previousTabPosition_; }
    const std::vector<Core::RefPtr<Control>>& GetTabList() const { return tabList_; }
    float GetDepth() const { return depth_; }
    std::uint32_t GetClipMode() const { return clipMode_; }
    Core::Object* GetUserData() const { return userData_.Get(); }
    const Core::RefPtr<Engine::StringRenderContext>& GetTextDrawable() const { return textDrawable_; }
    // Blocked by a modal form that is neither this control nor its parent.
    bool IsBlocked() const;
    // Whether `ancestor` is this control or lies above it.
    bool IsDescendantOf(const Control* ancestor) const;

    // The 32 fields; see the source. A short or damaged record fails the
    // archive and leaves the control as it was.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // Drops every listener whose object is `object` (an owner that goes
    // before the control it listens to).
    void RemoveListenersOf(const void* object);

protected:
    // Fires the listeners of `event` front to back.
    void Fire(Event event);
    void Fire(Event event, const MouseEvent& argument);

    // The control's record, read whole before anything changes, so that a
    // derived class can read its own fields behind it and commit both or
    // neither.
    struct Record
    {
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

        bool HasChild(const Control* control) const;
    };
    // False, with the archive failed, for a short or damaged record.
    bool ReadRecord(Core::File& file, Record& record);
    void ApplyRecord(Record& record, Core::File& file);

    // Width and height without the size event (a constructor's own size).
    void StoreSize(float width, float height)
    {
        width_ = width;
        height_ = height;
    }
    void StoreClientRectangle(const NRectangle& rectangle) { clientRectangle_ = rectangle; }
    void StoreSkinName(const std::string& skin) { skinName_ = skin; }
    void ResetTabPositions()
    {
        tabPosition_ = -1;
        previousTabPosition_ = -1;
    }
    const std::vector<Core::RefPtr<Control>>& GetChildren() const { return children_; }

private:
    bool AddListener(Event event, std::unique_ptr<Listener> listener);
    bool AddListener(Event event, std::unique_ptr<MouseListener> listener);
    void ProcessRemovals();
    // With radio buttons among the children and none checked, the first
    // enabled one is checked.
    void CheckFirstRadioButton();
    void HandleMouseCursor();
    void HandleMouseDown();
    void HandleMouseUp();
    void ApplyEnabledToTree();
    void ApplyOpacityToTree();
    bool Qualifies(std::int32_t index) const;
    // Takes `child` out of the links that do not own it.
    void Forget(Control* child);
    void ClampTabPositions();
    // Whether the links read with this control agree (run when the whole
    // graph has been read).
    bool LinksAgree() const;
    MouseEvent MakeEvent(std::uint32_t button) const;

    std::array<std::vector<std::unique_ptr<Listener>>, EventCount> listeners_;
    std::array<std::vector<std::unique_ptr<MouseListener>>, EventCount> mouseListeners_;
    Math::Vector2D position_;
    NRectangle rectangle_;
    NRectangle clientRectangle_;
    NRectangle visibleRectangle_;
    NRectangle visibleClientRectangle_;
    std::vector<Core::RefPtr<Control>> children_;
    std::vector<Core::RefPtr<Control>> pendingRemovals_;
    Control* parent_ = nullptr;
    Control* lastAddedChild_ = nullptr;
    Control* rememberedChild_ = nullptr;
    std::string name_;
    Core::RefPtr<Cursor> cursor_;
    Math::Vector4 modulationColor_{1.0f, 1.0f, 1.0f, 1.0f};
    Math::Vector4 textModulationColor_{1.0f, 1.0f, 1.0f, 1.0f};
    float opacity_ = 1.0f;
    std::uint8_t visible_ = 1;
    std::uint8_t enabled_ = 1;
    std::uint8_t tabStop_ = 1;
    std::uint8_t focused_ = 0;
    std::uint8_t layoutDirty_ = 1;
    std::int32_t tabIndex_ = 0;
    std::string text_;
    std::string fontName_;
    Core::RefPtr<Engine::BitmapFont> font_;
    Core::RefPtr<Engine::StringRenderContext> textDrawable_;
    std::string skinName_;
    float depth_ = 0.0f;
    std::uint32_t clipMode_ = 2;
    std::int32_t tabPosition_ = -1;
    std::int32_t previousTabPosition_ = -1;
    Core::RefPtr<Core::Object> userData_;
    std::vector<Core::RefPtr<Control>> tabList_;
    float width_ = 64.0f;
    float height_ = 64.0f;
    Math::Vector2D previousMousePosition_;
    std::uint8_t mouseEntered_ = 0;
    std::uint8_t pressed_ = 0;
    std::uint8_t focusToParent_ = 0;
    std::uint8_t firstClickSeen_ = 0;
    float doubleClickMinimum_ = 0.1f;
    float doubleClickMaximum_ = 0.5f;
    float clickTimer_ = 0.0f;
    std::uint8_t acceptsEnter_ = 1;
    std::uint8_t mouseDirectlyOver_ = 0;
    Math::Vector2D mousePosition_;
    Core::RefPtr<Control> childToFront_;
};

} // namespace GUI
