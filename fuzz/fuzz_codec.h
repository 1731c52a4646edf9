// One input through everything that reads a file's bytes; shared by the
// libFuzzer target and the corpus replay that runs with the test suite.
#pragma once

#include <cstddef>
#include <cstdint>

// Runs detection, both line readers and all decoders over `data` and checks what
// must hold for any input; aborts with a message when something does not.
int tavrilFuzzOne(const std::uint8_t *data, std::size_t size);
