#include "renderer/Renderer_Effect.h"

#include "renderer/Renderer_RenderStates.h"

namespace Renderer
{

// --- Effect -----------------------------------------------------------------

Effect::Effect(const Effect& other)
    : Core::Object(other), blended(other.blended), value(other.value), textures_(other.textures_)
{
    techniques_.reserve(other.techniques_.size());
    for (const Core::RefPtr<Technique>& technique : other.techniques_)
    {
        techniques_.emplace_back(technique->Clone());
    }
}

Effect* Effect::Clone() const
{
    return new ("Renderer_Effect", __LINE__) Effect(*this);
}

const char* Effect::GetClassName() const
{
    return "Renderer::Effect";
}

std::uint32_t Effect::GetSize() const
{
    return sizeof(Effect);
}

void Effect::UpdateStates() {}

void Effect::AddTechnique(const Core::RefPtr<Technique>& technique)
{
    if (technique)
    {
        techniques_.push_back(technique);
    }
}

Core::RefPtr<Technique> Effect::GetTechnique(std::uint32_t index) const
{
    return index < techniques_.size() ? techniques_[index] : Core::RefPtr<Technique>();
}

void Effect::SetTexture(std::uint32_t slot, const Core::RefPtr<ITexture>& texture)
{
    if (slot < TextureSlotCount)
    {
        textures_[slot] = texture;
    }
}

Core::RefPtr<ITexture> Effect::GetTexture(std::uint32_t slot) const
{
    return slot < TextureSlotCount ? textures_[slot] : Core::RefPtr<ITexture>();
}

// --- ParticleEffect ---------------------------------------------------------

ParticleEffect::ParticleEffect(const ParticleEffect& other)
    : Effect(other), sourceFactor(other.sourceFactor), destinationFactor(other.destinationFactor)
{
    if (!other.blendingState)
    {
        return;
    }
    // The copy's passes are clones of the source's in the same places: link
    // to the clone of the state the source links to.
    for (std::uint32_t t = 0; t < other.GetTechniqueCount(); ++t)
    {
        const Core::RefPtr<Technique> sourceTechnique = other.GetTechnique(t);
        const Core::RefPtr<Technique> copyTechnique = GetTechnique(t);
        for (std::uint32_t p = 0; p < sourceTechnique->GetPassCount(); ++p)
        {
            const Core::RefPtr<Pass> sourcePass = sourceTechnique->GetPass(p);
            for (std::uint32_t s = 0; s < sourcePass->GetStateCount(); ++s)
            {
                if (sourcePass->GetState(s).Get() == other.blendingState.Get())
                {
                    blendingState =
                        static_cast<AlphaBlendingState*>(copyTechnique->GetPass(p)->GetState(s).Get());
                    return;
                }
            }
        }
    }
}

ParticleEffect* ParticleEffect::Clone() const
{
    return new ("Renderer_Effect", __LINE__) ParticleEffect(*this);
}

const char* ParticleEffect::GetClassName() const
{
    return "Renderer::ParticleEffect";
}

std::uint32_t ParticleEffect::GetSize() const
{
    return sizeof(ParticleEffect);
}

void ParticleEffect::UpdateStates()
{
    if (blendingState)
    {
        blendingState->source = sourceFactor;
        blendingState->destination = destinationFactor;
    }
}

// --- Preset effects ---------------------------------------------------------

namespace
{

// The states that recur among the presets.

Core::RefPtr<State> MakeDepth()
{
    DepthBufferState* state = new ("Renderer_Effect", __LINE__) DepthBufferState();
    state->function = CompareLess;
    state->testEnabled = true;
    state->writeEnabled = false;
    return Core::RefPtr<State>(state);
}

Core::RefPtr<AlphaBlendingState> MakeBlending()
{
    AlphaBlendingState* state = new ("Renderer_Effect", __LINE__) AlphaBlendingState();
    state->source = BlendSourceAlpha;
    state->destination = BlendOneMinusSourceAlpha;
    state->enabled = true;
    return Core::RefPtr<AlphaBlendingState>(state);
}

// Fully transparent fragments are discarded.
Core::RefPtr<State> MakeAlphaTest()
{
    AlphaTestingState* state = new ("Renderer_Effect", __LINE__) AlphaTestingState();
    state->function = CompareNotEqual;
    state->reference = 0.0f;
    state->enabled = true;
    return Core::RefPtr<State>(state);
}

Core::RefPtr<State> MakeLightingOff()
{
    return Core::RefPtr<State>(new ("Renderer_Effect", __LINE__) LightingState());
}

Core::RefPtr<State> MakeCullingOff()
{
    CullingState* state = new ("Renderer_Effect", __LINE__) CullingState();
    state->face = CullBack;
    state->enabled = false;
    return Core::RefPtr<State>(state);
}

Core::RefPtr<State> MakeWhite()
{
    return Core::RefPtr<State>(new ("Renderer_Effect", __LINE__) CurrentColorState());
}

// Texturing on unit 0, two-dimensional, without coordinate generation; the
// same wrap code for S and T.
Core::RefPtr<State> MakeUnit0(std::uint32_t applyMode, std::uint32_t filter, std::uint32_t wrap)
{
    TextureUnit0State* state = new ("Renderer_Effect", __LINE__) TextureUnit0State();
    state->enabled = true;
    state->applyMode = applyMode;
    state->filter = filter;
    state->wrapS = wrap;
    state->wrapT = wrap;
    state->coordinateGeneration = false;
    state->oneDimensional = false;
    state->reserved = 0;
    return Core::RefPtr<State>(state);
}

// Adds the states to one pass of one technique, builds the saved states and
// gives the technique to `effect`.
template <class EffectClass>
Core::RefPtr<EffectClass> Assemble(EffectClass* effect, std::initializer_list<Core::RefPtr<State>> states,
                                   bool blended)
{
    Core::RefPtr<EffectClass> result(effect);
    Core::RefPtr<Technique> technique(new ("Renderer_Effect", __LINE__) Technique());
    Core::RefPtr<Pass> pass(new ("Renderer_Effect", __LINE__) Pass());
    for (const Core::RefPtr<State>& state : states)
    {
        pass->AddState(state);
    }
    technique->AddPass(pass);
    technique->BuildSavedStates();
    result->AddTechnique(technique);
    result->blended = blended;
    return result;
}

} // namespace

Core::RefPtr<Effect> CreateDefaultEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeDepth(), MakeBlending(), MakeCullingOff()}, true);
}

Core::RefPtr<Effect> CreateTextureEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeUnit0(TextureModulate, FilterLinear, WrapRepeat), MakeDepth(), MakeBlending(),
                     MakeAlphaTest(), MakeLightingOff(), MakeCullingOff()},
                    false);
}

Core::RefPtr<Effect> CreateNearestTextureEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeUnit0(TextureModulate, FilterNearest, WrapClampToEdge), MakeDepth(), MakeBlending(),
                     MakeAlphaTest(), MakeLightingOff()},
                    false);
}

Core::RefPtr<Effect> CreateBackgroundEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeUnit0(TextureReplace, FilterLinear, WrapRepeat), MakeDepth()}, false);
}

Core::RefPtr<Effect> CreateSpriteEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeWhite(), MakeUnit0(TextureModulate, FilterLinear, WrapClampToEdge), MakeDepth(),
                     MakeBlending(), MakeAlphaTest(), MakeLightingOff(), MakeCullingOff()},
                    true);
}

Core::RefPtr<ParticleEffect> CreateParticleEffect()
{
    ParticleEffect* effect = new ("Renderer_Effect", __LINE__) ParticleEffect();
    const Core::RefPtr<AlphaBlendingState> blending = MakeBlending();
    effect->blendingState = blending;
    return Assemble(effect,
                    {MakeWhite(), MakeUnit0(TextureModulate, FilterLinear, WrapRepeat), MakeDepth(), blending,
                     MakeAlphaTest(), MakeLightingOff(), MakeCullingOff()},
                    true);
}

Core::RefPtr<Effect> CreateLineEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeWhite(), MakeLightingOff(), MakeDepth(), MakeBlending(), MakeAlphaTest()}, false);
}

Core::RefPtr<Effect> CreatePointEffect()
{
    return Assemble(new ("Renderer_Effect", __LINE__) Effect(),
                    {MakeWhite(), MakeLightingOff(), MakeDepth(), MakeBlending(), MakeAlphaTest()}, false);
}

} // namespace Renderer
