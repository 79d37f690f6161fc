#include "cli/clicommands.h"
#include "cli/clierror.h"
#include "cli/clioptions.h"
#include "cli/clisession.h"
#include "corekit/lex.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
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
