// make-tuner-head <output>: writes tuner.head for lib.win.
#include "tuner_head.h"
#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make-tuner-head <output>\n", stderr);
        return 2;
    }
    std::string head = MakeTunerHead();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    return out.good() ? 0 : 1;
}
