#pragma once
// The similar-names search (method 1) as a search method of the engine: the per-file step
// groups each file with the first earlier file whose name is alike, and the group rows reach
// the result as they form.

namespace twinex::similar {

// Puts the similarity methods built so far into the engine's method table. Called once at
// start-up, before any search.
void InstallSimilarMethods();

}  // namespace twinex::similar
