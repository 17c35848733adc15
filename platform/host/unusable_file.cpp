#include "host/unusable_file.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace host {
namespace {

// The first report for a name; a lost surface reloads its picture, which must not repeat it.
bool FirstTime(const std::string& name) {
  static std::set<std::string> reported;
  return reported.insert(name).second;
}

void ReportMissingFolder(const std::filesystem::path& folder) {
  std::error_code failure;
  if (folder.empty() || std::filesystem::exists(folder, failure) || failure) return;
  const std::string name = folder.generic_string() + "/";
  if (!FirstTime(name)) return;
  const std::string here = std::filesystem::current_path(failure).string();
  std::fprintf(stderr,
               "%s: no such folder in %s; start the program from the folder that holds it\n",
               name.c_str(), failure ? "the working directory" : here.c_str());
}

}  // namespace

void ReportUnusableFile(const char* path, const std::string& reason) {
  if (path == nullptr || !FirstTime(path)) return;
  std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
  ReportMissingFolder(std::filesystem::path(path).parent_path());
}

}  // namespace host
