#include "cli/clidatadir.h"

#include "cli/clierror.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

bool holdsLocationFiles(const std::string &directory)
{
    std::error_code error;
    for (const char *name : {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt"}) {
        if (!fs::is_regular_file(fs::path(directory) / name, error))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string> dataDirectoryCandidates(const std::string &given)
{
    if (!given.empty())
        return {given};
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    std::vector<std::string> candidates;
    if (!error)
        candidates.push_back((program.parent_path() / NIMBREL_DATA_FROM_BINDIR).lexically_normal().string());
    candidates.push_back(NIMBREL_INSTALL_DATA_DIR);
    candidates.push_back(NIMBREL_SOURCE_DATA_DIR);
    return candidates;
}

std::string findDataDirectory(const std::vector<std::string> &candidates)
{
    std::string searched;
    for (const std::string &candidate : candidates) {
        if (holdsLocationFiles(candidate))
            return candidate;
        searched += (searched.empty() ? "" : ", ") + candidate;
    }
    throw CliError(CliExit::Damaged, "the location files (cities.ldt and the others) are not in " + searched);
}
