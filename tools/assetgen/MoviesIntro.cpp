#include "AssetTree.h"
#include "Glassware.h"
#include "Slides.h"

namespace assets {
using namespace slides;

void addIntroMovies(std::vector<MovieAsset>& out) {
    out.push_back({"Movie/1.swf", [] {
                       Scene s = stage(585, 361);
                       heading(s, text::chem("Na2S2O3 ⇄ H2SO4 ↑↓ тест"), "Проба текста");
                       s.wait(2);
                       finish(s);
                       return s;
                   }});
}

}  // namespace assets
