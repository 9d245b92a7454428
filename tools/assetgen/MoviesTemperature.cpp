#include "AssetTree.h"
#include "Glassware.h"
#include "Slides.h"

namespace assets {
using namespace slides;

void addTemperatureMovies(std::vector<MovieAsset>&) {}

}  // namespace assets
