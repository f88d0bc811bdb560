// qbank: compiles the question bank source into the folder package "GameQuestions".
//   qbank <source folder> <package folder>
#include <cstdio>

#include "tools/qbank/BankCompiler.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: qbank <source folder> <package folder>\n");
        return 2;
    }
    qbank::Diagnostics diagnostics;
    bool ok = qbank::CompileBank(argv[1], argv[2], diagnostics);
    for (const std::string& line : diagnostics.Warnings())
        fprintf(stderr, "%s\n", line.c_str());
    for (const std::string& line : diagnostics.Errors())
        fprintf(stderr, "%s\n", line.c_str());
    return ok ? 0 : 1;
}
