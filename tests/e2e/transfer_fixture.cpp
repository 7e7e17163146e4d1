// Copies one of the configurations the transfer end-to-end tests download to OUT. They were
// written once by the program's own writer: every parameter the protocol carries set away from
// its default, commands of each kind interleaved over two nodes, and mapping addresses from the
// product's own calculation so the pre-download checks pass.

#include "model/atomic_file.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    const std::string variants = " compatible new slave edition220 nmt-yes master85 ";
    if (argc != 3 || variants.find(' ' + std::string(argv[1]) + ' ') == std::string::npos) {
        std::fprintf(stderr, "usage: transfer_fixture compatible|new|slave|edition220|nmt-yes|"
                             "master85 OUT\n");
        return 2;
    }
    std::string bytes;
    torvane::Message error;
    const std::string in = TORVANE_TEST_DATA_DIR "/transfer/" + std::string(argv[1]) + ".chg";
    if (!torvane::readWholeFile(in, bytes, error) ||
        !torvane::writeFileAtomically(argv[2], bytes, error)) {
        std::fprintf(stderr, "transfer_fixture: %s\n", error.english().c_str());
        return 1;
    }
    return 0;
}
