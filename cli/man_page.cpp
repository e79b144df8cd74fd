// Writes clipwright's manual page, made from the texts of its --help, to the file given.
#include "help_text.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: clipwright_man OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << manPageText();
    return out.good() ? 0 : 1;
}
