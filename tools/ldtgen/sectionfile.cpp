#include "tools/ldtgen/sectionfile.h"

#include <zlib.h>

#include <memory>

namespace ldtgen
{

namespace
{

struct GzCloser {
    void operator()(gzFile file) const { gzclose(file); }
};
using GzFile = std::unique_ptr<gzFile_s, GzCloser>;

// One whole line without its line feed; false at the end of the file.
bool readLine(gzFile file, std::string &line)
{
    line.clear();
    char chunk[4096];
    while (gzgets(file, chunk, sizeof chunk)) {
        line += chunk;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
    return !line.empty();
}

bool addLine(const std::string &line, std::vector<Section> &sections)
{
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
        sections.push_back({line.substr(1, line.size() - 2), {}});
        return true;
    }
    const std::size_t equals = line.find(" = ");
    if (sections.empty() || equals == std::string::npos)
        return false;
    sections.back().values.emplace(line.substr(0, equals), line.substr(equals + 3));
    return true;
}

} // namespace

const std::string &Section::value(const std::string &key) const
{
    static const std::string none;
    const auto found = values.find(key);
    return found == values.end() ? none : found->second;
}

bool readSectionFile(const std::string &path, std::vector<Section> &sections, std::string &error)
{
    GzFile file(gzopen(path.c_str(), "rb"));
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::string line;
    while (readLine(file.get(), line)) {
        if (line.empty() || line.front() == '#')
            continue;
        if (!addLine(line, sections)) {
            error = path + ": unexpected line '" + line + "'";
            return false;
        }
    }
    int code = Z_OK;
    gzerror(file.get(), &code);
    if (code != Z_OK && code != Z_STREAM_END) {
        error = path + ": damaged gzip data";
        return false;
    }
    return true;
}

} // namespace ldtgen
