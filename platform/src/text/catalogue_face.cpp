// Matching names and styles of catalogue faces.
#include "text/catalogue_face.h"

#include <cstdlib>
#include <limits>

#include "winplat/cp1250.h"

namespace winplat::text {
namespace {

constexpr int kBoldWeight = 600;

bool isBold(int weight) {
    return weight >= kBoldWeight;
}

// Smaller is closer. The slant outweighs everything, boldness every width and weight, and the
// width any weight difference, so that asking "DejaVu Sans" gives the normal width before a
// condensed face of the same weight.
long styleDistance(const CatalogueFace& face, int weight, bool italic) {
    long distance = face.formatRank;
    distance += 10L * std::abs(face.weight - weight);
    distance += 100'000L * std::abs(face.width - 100);
    if (isBold(face.weight) != isBold(weight)) distance += 100'000'000L;
    if (face.italic != italic) distance += 1'000'000'000L;
    return distance;
}

}  // namespace

bool namesFamily(std::string_view asked, std::string_view family) {
    const std::string wanted = cp1250::lower(asked);
    const std::string candidate = cp1250::lower(family);
    if (candidate == wanted) return true;
    // A LOGFONTA holds 31 bytes of a name: a longer family is asked for by its first 31, as the
    // font listing reports it.
    constexpr size_t kNameBytes = LF_FACESIZE - 1;
    return wanted.size() == kNameBytes && candidate.size() > kNameBytes && candidate.compare(0, kNameBytes, wanted) == 0;
}

bool isOfFamily(const CatalogueFace& face, std::string_view family) {
    for (const std::string& name : face.families) {
        if (namesFamily(family, name)) return true;
    }
    return false;
}

const CatalogueFace* closestStyle(const std::vector<const CatalogueFace*>& members, int weight, bool italic) {
    const CatalogueFace* best = nullptr;
    long bestDistance = std::numeric_limits<long>::max();
    for (const CatalogueFace* member : members) {
        const long distance = styleDistance(*member, weight, italic);
        if (distance < bestDistance) {
            best = member;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<BYTE> charSetsOf(const Coverage& coverage) {
    std::vector<BYTE> sets;
    if (coverage.ansi) sets.push_back(ANSI_CHARSET);
    if (coverage.central) sets.push_back(EASTEUROPE_CHARSET);
    if (coverage.russian) sets.push_back(RUSSIAN_CHARSET);
    if (coverage.symbol) sets.push_back(SYMBOL_CHARSET);
    return sets;
}

}  // namespace winplat::text
