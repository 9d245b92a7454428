#include "AssetTree.h"
#include "Glassware.h"
#include "Slides.h"

namespace assets {
using namespace slides;

void addConcentrationMovies(std::vector<MovieAsset>&) {}

}  // namespace assets
