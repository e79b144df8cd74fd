// Enlarging a skin picture without distorting it: the one-pixel line at each seam is repeated and
// everything after a seam moves by what the seams up to it added. The extra length is shared out
// evenly, the last seam taking what is left.
#pragma once

#include <vector>

class SeamStretch {
public:
    // seams ascending, inside the picture's length; extra >= 0.
    SeamStretch(std::vector<int> seams, int extra);

    // Where a position of the picture lands once stretched.
    int map(int position) const;

    // One piece of the picture: source start and length, target start and length.
    struct Piece {
        int source, sourceLength, target, targetLength;
    };
    // The pieces that cover a picture of that length, seam lines stretched.
    std::vector<Piece> pieces(int length) const;

private:
    std::vector<int> seams_;
    std::vector<int> added_;  // by seam
};
