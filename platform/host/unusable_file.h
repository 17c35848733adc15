// Naming, once per file, a picture or sound the program cannot use, and why, on stderr.
#pragma once

#include <string>

namespace host {

// Writes "path: reason" the first time `path` is reported. When the file's folder is missing
// altogether, also says where the program looked and where it must be started from.
void ReportUnusableFile(const char* path, const std::string& reason);

}  // namespace host
