#pragma once

#include <array>
#include <cstdint>

// The rounds of the file key's derivation on the processor's SHA instructions. Each round is
// two chained hash compressions of a 20-byte digest; OpenSSL's block function runs them on the
// same instructions, but stores and reloads the state and the message at every call, and one
// chain leaves the instructions waiting on each other. Here the digests stay in registers, and
// two output blocks run interleaved, each filling the other's waits.
namespace HardwareSha1 {

using Words = std::array<std::uint32_t, 5>;

// Whether this processor has the instructions.
bool Available();

// For each of `lanes` (1 or 2) output blocks: from its first MAC `first[lane]`, `rounds` more
// MACs each over the one before, under the keyed hash states `inner` and `outer` (the states
// after the key's padded block), and the exclusive-or of them all into `sum[lane]`. Words are
// the digests' big-endian words. Only where Available().
void Rounds(const Words& inner, const Words& outer, const Words* first, int lanes, int rounds,
            Words* sum);

} // namespace HardwareSha1
