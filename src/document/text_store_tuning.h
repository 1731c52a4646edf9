// Tuning of the document store's blocks, for tests that make blocks tiny so that
// every edit, line lookup and search crosses the seams between them.
#pragma once

namespace TextStoreTuning {
// The most code units a block holds before it splits; 0 restores the default.
// Applies to stores edited or loaded afterwards.
void setBlockUnits(int units);
} // namespace TextStoreTuning
