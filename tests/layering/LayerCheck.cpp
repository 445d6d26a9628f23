#include "LayerCheck.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

namespace {

std::string absolute(const std::string& Root, const std::string& Path) {
    return (std::filesystem::path(Root) / Path).lexically_normal().string();
}

std::string joined(const std::set<std::string>& Names) {
    std::string out;
    for (const std::string& n : Names) out += (out.empty() ? "" : " ") + n;
    return out.empty() ? "nothing" : out;
}

// A compiled file's reading: its source, its folder and every file it read.
struct TReading {
    std::string Source;
    std::string Folder;
    std::vector<std::string> Files;
};

class TChecker {
public:
    TChecker(const TLayerTable& Table, const TLayerCheckInput& Input, const TRunCommand& Run)
        : table_(Table), input_(Input), run_(Run), map_(Table, Input.SourceRoot, Input.BuildRoot) {}

    TLayerCheckResult Check() {
        readLog();
        for (const TReading& r : readings_) checkReading(r, r.Source);
        checkHeadersAlone();
        for (const auto& [key, files] : found_) report(key.first, key.second, files);
        return std::move(result_);
    }

private:
    bool listed(const std::string& Folder) const { return table_.Folders.count(Folder) > 0; }

    // The records of the files the build compiles now: a record of a file
    // since taken out of the build is left alone, one missing is an error.
    void readLog() {
        std::map<std::string, const TCompileCommand*> commands;
        for (const TCompileCommand& c : input_.Commands) commands[absolute(c.Directory, c.File)] = &c;
        std::set<std::string> recorded;
        for (const TDepsRecord& rec : input_.Records) {
            if (rec.Files.empty()) continue;
            TReading r;
            r.Source = absolute(input_.BuildRoot, rec.Files.front());
            if (!commands.count(r.Source)) continue;
            if (!rec.Valid) continue;
            recorded.insert(r.Source);
            r.Folder = map_.FolderOf(r.Source);
            for (const std::string& f : rec.Files) r.Files.push_back(absolute(input_.BuildRoot, f));
            readings_.push_back(std::move(r));
        }
        for (const auto& [source, command] : commands) {
            if (listed(map_.FolderOf(source)) && !recorded.count(source)) {
                result_.Errors.push_back(map_.Shown(source) +
                                         " has no valid record in the dependency log: build first");
            }
            commandsByFolder_.emplace(map_.FolderOf(source), command);
        }
    }

    // Every file Reading read must be allowed to the folder that compiled
    // it. Of each forbidden folder or library, the file read first is named
    // (the one the include led to, the others came with it).
    void checkReading(const TReading& Reading, const std::string& Reader) {
        if (!listed(Reading.Folder)) return;
        ++result_.FilesChecked;
        const TLayerFolder& rules = table_.Folders.at(Reading.Folder);
        std::map<std::string, std::pair<std::string, int>> first;  // name -> its first file, how many more
        for (const std::string& f : Reading.Files) {
            const std::string name = map_.NameOf(f);
            if (name == Reading.Folder) covered_.insert(f);
            if (name.empty() || name == Reading.Folder || rules.Allows(name)) continue;
            auto [it, added] = first.try_emplace(name, f, 0);
            if (!added) ++it->second.second;
        }
        for (const auto& [name, file] : first) {
            TFound& found = found_[{Reading.Folder, file.first}];
            found.Readers.insert(Reader);
            found.More = std::max(found.More, file.second);
        }
    }

    // A header that only other folders' files compile is read on its own,
    // with the flags of a file of its own folder; when it cannot be read so
    // (it names what its folder cannot even see), with those of a file that
    // includes it.
    void checkHeadersAlone() {
        std::map<std::string, const TReading*> headers;
        for (const TReading& r : readings_) {
            for (const std::string& f : r.Files) {
                if (f != r.Source && listed(map_.FolderOf(f)) && !covered_.count(f)) headers.emplace(f, &r);
            }
        }
        for (const auto& [header, includer] : headers) {
            TReading alone;
            alone.Source = header;
            alone.Folder = map_.FolderOf(header);
            const auto own = commandsByFolder_.find(alone.Folder);
            if (!(own != commandsByFolder_.end() && preprocess(header, *own->second, true, alone.Files)) &&
                !preprocess(header, commandOf(*includer), false, alone.Files)) {
                result_.Errors.push_back("cannot preprocess " + map_.Shown(header) + " on its own");
                continue;
            }
            ++result_.HeadersAlone;
            checkReading(alone, header);
        }
    }

    const TCompileCommand& commandOf(const TReading& Reading) const {
        for (const TCompileCommand& c : input_.Commands) {
            if (absolute(c.Directory, c.File) == Reading.Source) return c;
        }
        throw std::logic_error("a reading without its command");  // readLog keeps only commanded ones
    }

    // Quiet: the compiler's complaints are expected and not shown.
    bool preprocess(const std::string& Header, const TCompileCommand& Command, bool Quiet,
                    std::vector<std::string>& Files) {
        const size_t output = Command.Command.rfind(" -o ");
        if (output == std::string::npos) return false;
        const std::string command = Command.Command.substr(0, output) + " -M -MT layering -x c++ -include " +
                                    ShellQuoted(Header) + " /dev/null" + (Quiet ? " 2>/dev/null" : "");
        std::string rule;
        if (!run_(Command.Directory, command, rule)) return false;
        Files.clear();
        for (const std::string& f : ParseMakeRule(rule)) Files.push_back(absolute(Command.Directory, f));
        return true;
    }

    struct TFound {
        std::set<std::string> Readers;
        int More = 0;  // other files of the same folder or library read with it
    };

    void report(const std::string& Folder, const std::string& File, const TFound& Found) {
        std::string by = map_.Shown(*Found.Readers.begin());
        if (Found.Readers.size() > 1) by += " (and " + std::to_string(Found.Readers.size() - 1) + " more)";
        const std::string name = map_.NameOf(File);
        std::string what = name;
        if (Found.More > 0) what += ", and " + std::to_string(Found.More) + " more of " + name;
        const TLayerFolder& rules = table_.Folders.at(Folder);
        std::set<std::string> allowed = rules.Passed;
        allowed.insert(rules.Kept.begin(), rules.Kept.end());
        result_.Violations.push_back(by + " reads " + map_.Shown(File) + " (" + what + "); " + Folder +
                                     " may include: " + joined(allowed));
    }

    const TLayerTable& table_;
    const TLayerCheckInput& input_;
    const TRunCommand& run_;
    TLayerMap map_;
    std::vector<TReading> readings_;
    std::multimap<std::string, const TCompileCommand*> commandsByFolder_;
    std::set<std::string> covered_;
    std::map<std::pair<std::string, std::string>, TFound> found_;
    TLayerCheckResult result_;
};

}  // namespace

std::string ShellQuoted(const std::string& Text) {
    std::string out = "'";
    for (char c : Text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

TLayerCheckResult CheckLayers(const TLayerTable& Table, const TLayerCheckInput& Input, const TRunCommand& Run) {
    return TChecker(Table, Input, Run).Check();
}
