#include "cli/clidatadir.h"

#include "cli/clierror.h"
#include "meteo/base/wlocationfile.h"

#include <filesystem>
#include <system_error>

using namespace meteo;

namespace cli
{

std::vector<std::string> dataDirectoryCandidates(const std::string &given)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return dataFolderCandidates({given, error ? std::string() : program.parent_path().string(),
        NIMBREL_DATA_FROM_BINDIR, NIMBREL_INSTALL_DATA_DIR, NIMBREL_SOURCE_DATA_DIR});
}

std::string findDataDirectory(const std::vector<std::string> &candidates)
{
    const std::string found = findDataFolder(candidates);
    if (found.empty()) {
        std::string searched;
        for (const std::string &candidate : candidates)
            searched += (searched.empty() ? "" : ", ") + candidate;
        throw CliError(CliExit::Damaged, "the location files (cities.ldt and the others) are not in " + searched);
    }
    if (const WUnreadableFile file = unreadableLocationFile(found); file.name)
        throw CliError(CliExit::Damaged,
            std::string("the location file ") + file.name + " in " + found + ' '
                + describeLocationFileProblem(file.problem));
    return found;
}

} // namespace cli
