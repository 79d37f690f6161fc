#include "meteo/location/wlocationfile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

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
