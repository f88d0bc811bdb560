#pragma once
// Reads a bank source folder, checks it and writes the folder package.
#include <string>

#include "tools/qbank/BankSource.h"

namespace qbank {

// Reads the four decade files (all required), "equivalences.txt" and "dictionary.txt"
// (optional) from the source folder. False when a file cannot be read.
bool ReadBankSources(const std::string& sourceDir, Bank& bank, Diagnostics& diagnostics);

// Writes the package into the folder (created when missing): "list.txt", "0.bin" ...,
// "graphtograph.bin", "autocompletion.txt" and the index named after the folder with ".hdr"
// appended. Question files of an earlier, larger bank are removed. False on a write failure.
bool WriteBankPackage(const Bank& bank, const std::string& packageDir, Diagnostics& diagnostics);

// The whole run: read, check, and write when there is no error.
bool CompileBank(const std::string& sourceDir, const std::string& packageDir, Diagnostics& diagnostics);

}  // namespace qbank
