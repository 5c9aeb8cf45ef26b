#pragma once

#include <cstdint>
#include <string>

// The texts the played levels keep current, each written only when a
// Velkor::Text of that name is in the current level.
namespace ScoreTexts
{

// The text of the first Velkor::Text named `name`; nothing without one.
void Set(const char* name, const std::string& text);

// `value` in decimal ("%i").
std::string Decimal(std::int32_t value);

// "scoreText" := "SCORE: " and the total score; "levelscoreText" := the
// stage score; "nextlevelText" := the points still needed directly followed
// by "To Next Level" (no space: 10 shows as "10To Next Level").
void WriteScores();

} // namespace ScoreTexts
