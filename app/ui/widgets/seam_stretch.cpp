#include "seam_stretch.h"

#include <cstddef>

SeamStretch::SeamStretch(std::vector<int> seams, int extra) : seams_(std::move(seams))
{
    const int count = static_cast<int>(seams_.size());
    for (int i = 0; i < count; ++i)
        added_.push_back(i + 1 < count ? extra / count : extra - extra / count * (count - 1));
}

int SeamStretch::map(int position) const
{
    int moved = position;
    for (std::size_t i = 0; i < seams_.size(); ++i) {
        if (position > seams_[i])
            moved += added_[i];
    }
    return moved;
}

std::vector<SeamStretch::Piece> SeamStretch::pieces(int length) const
{
    std::vector<Piece> result;
    int source = 0;
    int target = 0;
    const auto add = [&](int sourceLength, int targetLength) {
        if (sourceLength > 0 && targetLength > 0)
            result.push_back({source, sourceLength, target, targetLength});
        source += sourceLength;
        target += targetLength;
    };
    for (std::size_t i = 0; i < seams_.size() && seams_[i] < length; ++i) {
        add(seams_[i] - source, seams_[i] - source);
        add(1, 1 + added_[i]);
    }
    add(length - source, length - source);
    return result;
}
