#include "meteo/base/wlocationfile.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace meteo
{

namespace
{

WLocationFileProblem kindProblem(mode_t mode)
{
    if (S_ISDIR(mode))
        return WLocationFileProblem::Folder;
    if (S_ISFIFO(mode))
        return WLocationFileProblem::Fifo;
    if (S_ISSOCK(mode))
        return WLocationFileProblem::Socket;
    return WLocationFileProblem::Device;
}

} // namespace

// stat follows a symbolic link, as opening the file would; access asks with the real user's rights, which are the
// program's own.
WLocationFileProblem locationFileProblem(const std::string &path)
{
    struct stat info {
    };
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? WLocationFileProblem::Missing : WLocationFileProblem::Unreadable;
    if (!S_ISREG(info.st_mode))
        return kindProblem(info.st_mode);
    return ::access(path.c_str(), R_OK) == 0 ? WLocationFileProblem::None : WLocationFileProblem::Unreadable;
}

const char *describeLocationFileProblem(WLocationFileProblem problem)
{
    switch (problem) {
    case WLocationFileProblem::None:
        return "";
    case WLocationFileProblem::Missing:
        return "is missing";
    case WLocationFileProblem::Folder:
        return "is a folder, not a regular file";
    case WLocationFileProblem::Fifo:
        return "is a FIFO, not a regular file";
    case WLocationFileProblem::Device:
        return "is a device, not a regular file";
    case WLocationFileProblem::Socket:
        return "is a socket, not a regular file";
    case WLocationFileProblem::Unreadable:
        break;
    }
    return "cannot be read";
}

std::vector<std::string> dataFolderCandidates(const WDataFolderPlaces &places)
{
    if (!places.given.empty())
        return {places.given};
    std::vector<std::string> candidates;
    if (!places.programFolder.empty())
        candidates.push_back(
            (std::filesystem::path(places.programFolder) / places.fromProgram).lexically_normal().string());
    candidates.push_back(places.installed);
    candidates.push_back(places.source);
    return candidates;
}

bool holdsLocationFiles(const std::string &folder)
{
    for (const char *name : LOCATION_FILES) {
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(std::filesystem::path(folder) / name, error)))
            return false;
    }
    return true;
}

std::string findDataFolder(const std::vector<std::string> &candidates)
{
    for (const std::string &candidate : candidates) {
        if (holdsLocationFiles(candidate))
            return candidate;
    }
    return {};
}

WUnreadableFile unreadableLocationFile(const std::string &folder)
{
    for (const char *name : LOCATION_FILES) {
        const WLocationFileProblem problem = locationFileProblem((std::filesystem::path(folder) / name).string());
        if (problem != WLocationFileProblem::None)
            return {name, problem};
    }
    return {};
}

} // namespace meteo
