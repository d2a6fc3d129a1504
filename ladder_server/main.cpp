// quillmark-ladderd: the online ladder server and its administration. See UsageText().

#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ladder_server/admin/admin_commands.h"
#include "ladder_server/admin/command_line.h"
#include "ladder_server/admin/log.h"
#include "ladder_server/admin/serve.h"
#include "ladder_server/admin/store_factory.h"

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    ladder::Log log(std::cerr,
                    ladder::IsJournalStream(std::getenv("JOURNAL_STREAM"), STDERR_FILENO));
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ladder::Surroundings surroundings{
        ladder::DefaultDatabasePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
        Environment(ladder::kDatabaseVariable), ladder::DefaultConfigPath(),
        ladder::ReadConfigFile};
    auto parsed = ladder::ParseCommandLine(args, surroundings);
    if (const auto* bad = std::get_if<ladder::UsageError>(&parsed)) {
        log.Error(bad->message + "\nTry 'quillmark-ladderd --help'.");
        return 2;
    }
    const auto& invocation = std::get<ladder::Invocation>(parsed);
    if (std::holds_alternative<ladder::HelpCommand>(invocation.command)) {
        std::cout << ladder::UsageText();
        return 0;
    }
    try {
        if (const auto* serve = std::get_if<ladder::ServeCommand>(&invocation.command)) {
            return ladder::Serve(*serve, invocation.database, std::cout, log);
        }
        if (const auto* copy = std::get_if<ladder::CopyCommand>(&invocation.command)) {
            const auto from =
                ladder::OpenStore(invocation.database, 1, ladder::MissingFile::Refuse);
            const auto to = ladder::OpenStore(copy->to, 1);
            return ladder::RunCopyCommand(*copy, *from, *to, {std::cin, std::cout, std::cerr, log});
        }
        const auto store = ladder::OpenStore(invocation.database, 1);
        return ladder::RunAdminCommand(invocation.command, *store,
                                       {std::cin, std::cout, std::cerr, log, true});
    } catch (const std::exception& e) {
        log.Error(e.what());
        return 1;
    }
}
