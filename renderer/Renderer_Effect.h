#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_RenderStates.h"
#include "renderer/Renderer_Technique.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Renderer
{

// How a drawable is drawn: a list of techniques, 32 texture slots and a flag
// that sends the drawable's items to the render queue's blended list.
class Effect : public Core::Object
{
public:
    static constexpr std::uint32_t TextureSlotCount = 32;

    Effect() = default;
    Effect& operator=(const Effect&) = delete;

    // A new effect with clones of the techniques; the texture slots share
    // the same textures; the flag and the value are copied.
    Effect* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Copies parameters held by the effect into the states of its passes
    // before a draw. The base effect holds none.
    virtual void UpdateStates();

    void AddTechnique(const Core::RefPtr<Technique>& technique);
    // None for an index at or past the count.
    Core::RefPtr<Technique> GetTechnique(std::uint32_t index) const;
    std::uint32_t GetTechniqueCount() const { return static_cast<std::uint32_t>(techniques_.size()); }

    // Slots 0 to 31; a slot past them holds nothing and is ignored.
    void SetTexture(std::uint32_t slot, const Core::RefPtr<ITexture>& texture);
    Core::RefPtr<ITexture> GetTexture(std::uint32_t slot) const;

    // Items drawn with this effect are blended.
    bool blended = false;
    // Copied with the effect; nothing reads it.
    float value = 0.0f;

protected:
    // The deep copy behind Clone.
    Effect(const Effect& other);

private:
    // Destroyed in reverse: the texture slots go first, then the techniques.
    std::vector<Core::RefPtr<Technique>> techniques_;
    std::array<Core::RefPtr<ITexture>, TextureSlotCount> textures_;
};

// The effect of particle items: before each draw the render queue writes
// the item's two blend factors here and calls UpdateStates, which copies
// them into the blending state of the effect's pass.
class ParticleEffect : public Effect
{
public:
    ParticleEffect() = default;

    // Like an effect's clone; the copy's blending state is the blending
    // state of its own cloned pass, so the copy blends with its own factors.
    ParticleEffect* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Writes the two factors into the blending state, when there is one.
    void UpdateStates() override;

    Core::RefPtr<AlphaBlendingState> blendingState;
    // `BlendFactor` codes.
    std::uint32_t sourceFactor = BlendSourceAlpha;
    std::uint32_t destinationFactor = BlendOneMinusSourceAlpha;

protected:
    ParticleEffect(const ParticleEffect& other);
};

// The preset effects: each is one technique with one pass of preset states
// and the technique's saved states built.

// The nodes' own debug meshes: depth (test, no writes), blending, culling off. Blended.
Core::RefPtr<Effect> CreateDefaultEffect();
// Unit 0 (modulate, linear, repeat), depth, blending, alpha test, lighting
// off, culling off.
Core::RefPtr<Effect> CreateTextureEffect();
// Unit 0 (modulate, nearest, clamp to edge), depth, blending, alpha test,
// lighting off.
Core::RefPtr<Effect> CreateNearestTextureEffect();
// Unit 0 (replace, linear, repeat), depth.
Core::RefPtr<Effect> CreateBackgroundEffect();
// White, unit 0 (modulate, linear, clamp to edge), depth, blending, alpha
// test, lighting off, culling off. Blended.
Core::RefPtr<Effect> CreateSpriteEffect();
// White, unit 0 (modulate, linear, repeat), depth, blending (also the
// effect's blending state), alpha test, lighting off, culling off. Blended.
Core::RefPtr<ParticleEffect> CreateParticleEffect();
// White, lighting off, depth, blending, alpha test.
Core::RefPtr<Effect> CreateLineEffect();
// The same states as the line effect, in a separate object.
Core::RefPtr<Effect> CreatePointEffect();

} // namespace Renderer
