// layering_check --source DIR --build DIR --table FILE --ninja PROGRAM
// Checks the includes of the last build in DIR (a Ninja build) against the
// table; exit 0 when every folder keeps to it.
#include "LayerCheck.h"

#include <json/json.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

bool readFile(const std::string& Path, std::string& Text) {
    std::ifstream in(Path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    Text = s.str();
    return true;
}

bool runCommand(const std::string& Folder, const std::string& Command, std::string& Output) {
    const std::string line = "cd " + ShellQuoted(Folder) + " && " + Command;
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return false;
    Output.clear();
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) Output.append(buffer, n);
    return pclose(pipe) == 0;
}

bool readCommands(const std::string& Path, std::vector<TCompileCommand>& Commands) {
    std::ifstream in(Path, std::ios::binary);
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string error;
    if (!in || !Json::parseFromStream(builder, in, &root, &error) || !root.isArray()) return false;
    for (const Json::Value& entry : root) {
        Commands.push_back({entry["directory"].asString(), entry["command"].asString(), entry["file"].asString()});
    }
    return true;
}

int fail(const std::string& Message) {
    std::cerr << "layering_check: " << Message << "\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2) args[argv[i]] = argv[i + 1];
    for (const char* need : {"--source", "--build", "--table", "--ninja"}) {
        if (!args.count(need)) return fail(std::string("missing ") + need);
    }
    std::string tableText;
    if (!readFile(args["--table"], tableText)) return fail("cannot read " + args["--table"]);
    std::vector<std::string> tableErrors;
    const TLayerTable table = ParseLayerTable(tableText, tableErrors);
    for (const std::string& e : tableErrors) std::cerr << args["--table"] << ": " << e << "\n";
    if (!tableErrors.empty()) return 1;

    TLayerCheckInput input;
    input.SourceRoot = args["--source"];
    input.BuildRoot = args["--build"];
    std::string log;
    if (!runCommand(input.BuildRoot, ShellQuoted(args["--ninja"]) + " -t deps", log))
        return fail("ninja -t deps failed");
    input.Records = ParseNinjaDeps(log);
    if (!readCommands(input.BuildRoot + "/compile_commands.json", input.Commands)) {
        return fail("cannot read compile_commands.json in " + input.BuildRoot);
    }

    const TLayerCheckResult result = CheckLayers(table, input, runCommand);
    for (const std::string& e : result.Errors) std::cerr << e << "\n";
    if (!result.Violations.empty()) std::cout << "Layering broken (" << args["--table"] << "):\n";
    for (const std::string& v : result.Violations) std::cout << "  " << v << "\n";
    std::cout << "checked " << result.FilesChecked << " files, " << result.HeadersAlone << " of them headers alone\n";
    return result.Violations.empty() && result.Errors.empty() ? 0 : 1;
}
