#pragma once

// The quantity prompt asked again and again, as a busy day asks it: the memory the program holds after
// each prompt (resident set), which must not grow with the number of prompts.
namespace qm::bench {

void benchQuantityPrompts(int prompts);

} // namespace qm::bench
