#pragma once

// The end screens' score line: the text object "scoreText" of the current
// level shows "FINAL SCORE: " and the run's total score. Nothing when the
// level has no such text.
void WriteFinalScore();
