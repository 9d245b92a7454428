#include "AssetTree.h"
#include "Glassware.h"
#include "Slides.h"

namespace assets {
using namespace slides;

void addCatalystMovies(std::vector<MovieAsset>&) {}

}  // namespace assets
