// loctable: turns a "KEY=text" source file into a string table (".loc").
//   loctable <source file> <table file>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/authoring/LocalizationWriter.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: loctable <source file> <table file>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "loctable: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream source;
    source << in.rdbuf();
    authoring::LocalizationEntries entries;
    std::string error;
    if (!authoring::ParseLocalizationSource(source.str(), entries, error)) {
        fprintf(stderr, "%s:%s\n", argv[1], error.c_str());
        return 1;
    }
    const std::string bytes = authoring::LocalizationBytes(entries);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush()) {
        fprintf(stderr, "loctable: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
