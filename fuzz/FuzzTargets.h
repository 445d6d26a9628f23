#pragma once
// The bodies and seeds of the targets (FuzzRegistry.cpp lists them).
#include <string>
#include <string_view>
#include <vector>

namespace yorde::fuzz {

// The translation components and the test components that images name.
void RegisterFuzzClasses();

void RunRecordList(std::string_view input);
void RunSdState(std::string_view input);
void RunPreload(std::string_view input);
void RunUsersFile(std::string_view input);
void RunConfigFile(std::string_view input);
void RunAddressBookFile(std::string_view input);
void RunComponentImage(std::string_view input);
void RunLxbFile(std::string_view input);
void RunIniTranslations(std::string_view input);
void RunLayoutCompiler(std::string_view input);

std::vector<std::string> RecordListSeeds();
std::vector<std::string> SdStateSeeds();
std::vector<std::string> PreloadSeeds();
std::vector<std::string> UsersFileSeeds();
std::vector<std::string> ConfigFileSeeds();
std::vector<std::string> AddressBookFileSeeds();
std::vector<std::string> ComponentImageSeeds();
std::vector<std::string> LxbFileSeeds();
std::vector<std::string> IniTranslationsSeeds();
std::vector<std::string> LayoutCompilerSeeds();

}  // namespace yorde::fuzz
