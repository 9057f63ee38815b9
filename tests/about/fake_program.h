// A folder on PATH holding small shell scripts that stand in for the
// programs the control starts; each script writes its arguments, one a
// line, to NAME.args beside it. PATH is restored on destruction.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace orvane::testing {

// A fresh temporary folder, removed with its contents on destruction.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-about-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class FakePrograms {
 public:
  FakePrograms() : saved_path_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", dir_.path().c_str(), 1);
  }
  ~FakePrograms() { setenv("PATH", saved_path_.c_str(), 1); }

  // Places an executable script `name` that records its arguments.
  void Add(const std::string& name) const {
    std::filesystem::path script = dir_.path() / name;
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }

  // Waits for the started program and returns the arguments it recorded.
  std::string ArgumentsOf(const std::string& name, uint32_t pid) const {
    int status = 0;
    waitpid(static_cast<pid_t>(pid), &status, 0);
    std::ifstream in(dir_.path() / (name + ".args"));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  const std::filesystem::path& dir() const { return dir_.path(); }

 private:
  TempFolder dir_;
  std::string saved_path_;
};

}  // namespace orvane::testing
