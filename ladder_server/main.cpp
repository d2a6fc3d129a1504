// quillmark-ladderd: the online ladder server and its administration. See UsageText().

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ladder_server/admin/admin_commands.h"
#include "ladder_server/admin/command_line.h"
#include "ladder_server/admin/serve.h"
#include "ladder_server/admin/store_factory.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ladder::ParseCommandLine(
        args, ladder::DefaultDatabasePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (const auto* bad = std::get_if<ladder::UsageError>(&parsed)) {
        std::cerr << "quillmark-ladderd: " << bad->message << "\nTry 'quillmark-ladderd --help'.\n";
        return 2;
    }
    const auto& invocation = std::get<ladder::Invocation>(parsed);
    if (std::holds_alternative<ladder::HelpCommand>(invocation.command)) {
        std::cout << ladder::UsageText();
        return 0;
    }
    try {
        if (const auto* serve = std::get_if<ladder::ServeCommand>(&invocation.command)) {
            return ladder::Serve(*serve, invocation.database, std::cout, std::cerr);
        }
        if (const auto* copy = std::get_if<ladder::CopyCommand>(&invocation.command)) {
            const auto from =
                ladder::OpenStore(invocation.database, 1, ladder::MissingFile::Refuse);
            const auto to = ladder::OpenStore(copy->to, 1);
            return ladder::RunCopyCommand(*copy, *from, *to, {std::cin, std::cout, std::cerr});
        }
        const auto store = ladder::OpenStore(invocation.database, 1);
        return ladder::RunAdminCommand(invocation.command, *store,
                                       {std::cin, std::cout, std::cerr, true});
    } catch (const std::exception& e) {
        std::cerr << "quillmark-ladderd: " << e.what() << '\n';
        return 1;
    }
}
