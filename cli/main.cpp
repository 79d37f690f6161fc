#include "cli/clicommands.h"
#include "cli/clierror.h"
#include "cli/clioptions.h"
#include "cli/clisession.h"
#include "corekit/lex.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace cli;

namespace
{

int run(int argc, char *argv[])
{
    try {
        const CliOptions options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help || options.version) {
            std::cout << (options.help ? usageText() : "nimbrel " NIMBREL_VERSION "\n");
            return 0;
        }
        CliSession session(options);
        return static_cast<int>(runCommand(session, std::cin, std::cout));
    } catch (const CliError &error) {
        std::cerr << "nimbrel: " << error.what() << '\n';
        return static_cast<int>(error.status());
    } catch (const LEx &ex) {
        std::cerr << "nimbrel: " << (ex.text() ? ex.text() : LEx::describe(ex.code())) << '\n';
    } catch (const std::exception &ex) {
        std::cerr << "nimbrel: " << ex.what() << '\n';
    }
    return static_cast<int>(CliExit::Nothing);
}

int outputLost(const char *reason)
{
    std::cerr << "nimbrel: cannot write to standard output (" << reason << ")\n";
    return static_cast<int>(CliExit::Output);
}

// Output that did not reach its file (a full disk, a closed pipe's end, a closed standard output) must not end in
// success: a script would take the file as whole.
int flushed(int status)
{
    errno = 0;
    std::cout.flush();
    if (std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    return outputLost(errno ? std::strerror(errno) : "a write failed");
}

} // namespace

int main(int argc, char *argv[])
{
    // A closed standard output would be taken by the first file or connection opened, and the output written
    // into it.
    if (::fcntl(STDOUT_FILENO, F_GETFD) == -1)
        return outputLost("it is closed");
    return flushed(run(argc, argv));
}
