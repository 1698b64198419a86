#include "command_registry.h"

#include <iostream>

namespace talwynctl {

std::vector<CommandAdder>& commandAdders() {
    static std::vector<CommandAdder> adders;
    return adders;
}

void failWithFile(const std::string& file, const std::string& reason) { throw CommandFailure{file + ": " + reason}; }

} // namespace talwynctl

int main(int argc, char** argv) {
    CLI::App app{"talwynctl: profile files, macro library and the Talwyn PRO mouse"};
    app.require_subcommand(1);
    for (auto& add : talwynctl::commandAdders())
        add(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const talwynctl::CommandFailure& failure) {
        std::cerr << failure.message << '\n';
        return 1;
    }
    return 0;
}
