#include "slides/SpeechBackend.h"

#include <cmath>

namespace qel::slides {

double SpeechBackend::speedFactor(int rate)
{
    return std::pow(3.0, qBound(-10, rate, 10) / 10.0);
}

} // namespace qel::slides
