#pragma once

#include <map>
#include <string>
#include <vector>

namespace ldtgen
{

// One block of the correlation files, its name in brackets and then "key = value" lines:
//   [fips0100100]
//   centroid = (0.5775578, -1.4927283)
//   description = Abanda CDP, AL
// A key given twice keeps its first value.
struct Section {
    std::string name;
    std::map<std::string, std::string> values;

    // The value of key, or "" when the section has none.
    const std::string &value(const std::string &key) const;
};

// Reads every section of a gzip-compressed correlation file; lines starting with "#" are comments.
// False, with a reason, when the file cannot be read or a line stands outside a section or has no " = ".
bool readSectionFile(const std::string &path, std::vector<Section> &sections, std::string &error);

} // namespace ldtgen
