// "tuner.head": the header that Replace puts in front of every new HCA stream. 576 bytes, so the
// stream starts on a 16-byte line of the probe's dump (36 blocks of 16), and made only of our
// own tag, the layout numbers and zeros, so neither codec signature can be found in it.
#pragma once
#include <cstddef>
#include <string>

constexpr size_t TunerHeadSize = 576;

std::string MakeTunerHead();
