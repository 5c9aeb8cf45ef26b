#pragma once

#include "AssetGen_Canvas.h"
#include "AssetGen_Sheets.h"

#include <string>
#include <vector>

// The drawings the sprite sheets are made of, in the style the fonts and
// skins set: dark indigo night, neon colours, soft glows, clean outlines.
namespace AssetGen::Art
{

// Full-screen pictures (1024 x 768 cells).
void Space(Canvas& canvas, std::uint32_t seed, float nebula);
void PlayField(Canvas& canvas);
void TitleCard(Canvas& canvas);
void HowToPlayCard(Canvas& canvas);
void MenuPage(Canvas& canvas);
void PauseVeil(Canvas& canvas);
void QuitPanel(Canvas& canvas);
void ArenaFrame(Canvas& canvas);
void BorderGlow(Canvas& canvas, Color color);
void BonusSign(Canvas& canvas);
void WinPage(Canvas& canvas);
void GameOverPage(Canvas& canvas);
void CreditsPage(Canvas& canvas);
void LoadingPage(Canvas& canvas);
void OptionsPage(Canvas& canvas);

// A button: a rounded gradient panel filling the cell (less a glow margin)
// with its label; highlighted is brighter, glowing and light-rimmed.
// The largest lettering scale at which every one of `labels` fits a button
// cell of width x height. Buttons shown together take one scale, fitted to
// all their labels and their smallest cell, so a row of buttons reads evenly.
int ButtonLabelScale(const std::vector<std::string>& labels, int width, int height);
void Button(Canvas& cell, const std::string& label, bool highlighted, int scale);

// Balls and pick-ups on a circle in cell pixels.
void ColouredBall(Canvas& cell, CellPoint centre, float radius, Color color);
void EnemyWhite(Canvas& cell, CellPoint centre, float radius);
void SpikeBall(Canvas& cell, CellPoint centre, float radius);
void SpawnGrowth(Canvas& cell, int frame, Color color);
void MenuCore(Canvas& cell, CellPoint centre, float radius, int frame);
void PauseBall(Canvas& cell, CellPoint centre, float radius);
void PlayerBall(Canvas& cell, CellPoint centre, float radius, Color color, int frame, bool powered);
void ShieldPickup(Canvas& cell, CellPoint centre, float radius);
void ShieldBubble(Canvas& cell, CellPoint centre, float radius);
void BlackHole(Canvas& cell, CellPoint centre, float radius, int phase);
void Shatter(Canvas& cell, int frame);

// Beams along segments given in cell pixels; emitters at the given ends.
struct BeamLook
{
    Color core;
    Color glow;
    float coreRadius;
};
void Beam(Canvas& cell, const Sheet& sheet, const FrameShapes& shapes, const BeamLook& look, int frame);
void Emitter(Canvas& cell, CellPoint at, Color glow, bool vertical);

} // namespace AssetGen::Art
