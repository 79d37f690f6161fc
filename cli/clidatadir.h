#pragma once

#include <string>
#include <vector>

namespace cli
{

// Where the program looks for its location files: the folder given with --data-dir only; else the folder beside
// the program as it is installed ("/opt/nimbrel/bin/nimbrel" looks in "/opt/nimbrel/share/nimbrel"), the folder
// of the installation it was built for, and the source tree's data folder, for a program run from its build tree.
std::vector<std::string> dataDirectoryCandidates(const std::string &given);

// The first candidate that holds all four location files; throws CliError (CliExit::Damaged) naming the candidates
// when none does, or naming the file and why when one of the chosen folder's is no regular file it can read.
std::string findDataDirectory(const std::vector<std::string> &candidates);

} // namespace cli
