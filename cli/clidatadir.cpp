#include "cli/clidatadir.h"

#include "cli/clierror.h"
#include "meteo/location/wlocationfile.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

// A folder that holds the files' names is the one meant, whatever stands under them; what is wrong with them is
// then said, rather than that the files are not there.
bool holdsLocationFiles(const std::string &directory)
{
    for (const char *name : LOCATION_FILES) {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(fs::path(directory) / name, error)))
            return false;
    }
    return true;
}

void checkLocationFiles(const std::string &directory)
{
    for (const char *name : LOCATION_FILES) {
        const WLocationFileProblem problem = locationFileProblem((fs::path(directory) / name).string());
        if (problem != WLocationFileProblem::None)
            throw CliError(CliExit::Damaged,
                std::string("the location file ") + name + " in " + directory + ' '
                    + describeLocationFileProblem(problem));
    }
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
        if (holdsLocationFiles(candidate)) {
            checkLocationFiles(candidate);
            return candidate;
        }
        searched += (searched.empty() ? "" : ", ") + candidate;
    }
    throw CliError(CliExit::Damaged, "the location files (cities.ldt and the others) are not in " + searched);
}
