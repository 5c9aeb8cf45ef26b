#include "gui/GUI_Cursor.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_Rectangle.h"
#include "renderer/Renderer_TextureCache.h"

#include <cmath>
#include <limits>

namespace GUI
{

CORE_DEFINE_OBJECT(Cursor, "GUI::Cursor", "Cursor", "GUI_Cursor", __LINE__)
CORE_DEFINE_OBJECT(CursorManager, "GUI::CursorManager", "CursorManager", "GUI_Cursor", __LINE__)

namespace
{

CursorManager* g_manager = nullptr;

} // namespace

Cursor::Cursor() : context_(new ("GUI_Cursor", __LINE__) ImageRenderContext(0)) {}

Cursor::Cursor(const std::string& fileName)
    : fileName_(fileName), context_(new ("GUI_Cursor", __LINE__) ImageRenderContext(0))
{
    Load();
}

Cursor::Cursor(const Cursor& other)
    : Core::Object(other), hotSpot_(other.hotSpot_), fileName_(other.fileName_), texture_(other.texture_),
      context_(new ("GUI_Cursor", __LINE__) ImageRenderContext(0))
{
}

void Cursor::Load()
{
    texture_ =
        fileName_.empty() ? Core::RefPtr<Renderer::ITexture>() : Renderer::LoadTexture(fileName_, true);
}

void Cursor::Draw(const Math::Vector2D& position, float)
{
    Graphics* graphics = Graphics::GetInstance();
    if (!texture_ || graphics == nullptr)
    {
        return;
    }
    graphics->ResetClip();
    graphics->SetDepth(std::numeric_limits<float>::max());
    const TRectangle quad(position.x - hotSpot_.x, position.y - hotSpot_.y, Side, Side);
    graphics->PrepareImage(*context_, quad, texture_);
    graphics->SubmitImage(context_);
}

void Cursor::Write(Core::File& file) const
{
    file << hotSpot_.x << hotSpot_.y << fileName_;
}

void Cursor::Read(Core::File& file)
{
    float hotSpot[2] = {};
    std::string fileName;
    file.Read(hotSpot, sizeof hotSpot);
    file >> fileName;
    if (file.Failed())
    {
        return;
    }
    if (!std::isfinite(hotSpot[0]) || !std::isfinite(hotSpot[1]))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    hotSpot_ = Math::Vector2D(hotSpot[0], hotSpot[1]);
    fileName_ = fileName;
    Load();
    context_ = new ("GUI_Cursor", __LINE__) ImageRenderContext(0);
}

CursorManager::CursorManager()
{
    g_manager = this;
}

CursorManager::CursorManager(const CursorManager& other) : Core::Object(other), cursor_(other.cursor_)
{
    g_manager = this;
}

CursorManager::~CursorManager()
{
    if (g_manager == this)
    {
        g_manager = nullptr;
    }
}

CursorManager* CursorManager::GetInstance()
{
    return g_manager;
}

void CursorManager::Update(float dt)
{
    const Math::Vector2D position = GetMousePosition();
    if (cursor_)
    {
        cursor_->Draw(position, dt);
    }
}

void CursorManager::Write(Core::File& file) const
{
    file.WriteObject(cursor_.Get());
}

void CursorManager::Read(Core::File& file)
{
    Core::RefPtr<Cursor> cursor;
    Core::ReadRefPtr(file, cursor);
    if (file.Failed())
    {
        return;
    }
    cursor_ = cursor;
}

} // namespace GUI
