#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>
#include <sstream>

#include "show_command.h"

namespace {

/// Prints the core's messages on standard error.
class StderrMessages : public dorvo::MessageSink {
public:
    void report(const dorvo::Message& message) override {
        std::cerr << "dorvo-cli: " << message.text << "\n";
    }
};

int runShow(const std::string& file) {
    StderrMessages messages;
    dorvo::Project project;
    std::ostringstream results;
    auto resultLines = dorvo::cli::loadForCommandLine(file, project, results, messages);
    if (!resultLines) {
        std::cerr << "dorvo-cli: cannot read project file " << file << "\n";
        return 1;
    }
    dorvo::cli::printProject(project, *resultLines, std::cout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    CLI::App app{"Dorvo: factor of safety of earth slopes against circular slip"};
    app.require_subcommand(1);

    std::string showFile;
    CLI::App* show = app.add_subcommand("show", "Print the tables of a project file");
    show->add_option("file", showFile, "Project file (.slw)")->required();

    CLI11_PARSE(app, argc, argv);
    if (show->parsed()) return runShow(showFile);
    return 1;
}
