// The audio check shared by the fuzz targets that reach the filter: blocks
// of noise, some samples huge but finite, through both callbacks at
// several gains; any output sample that is not finite aborts.
#pragma once

#include <cstdint>

class ConvolverEffect;

void requireFiniteAudio(ConvolverEffect& effect, std::uint32_t seed);
