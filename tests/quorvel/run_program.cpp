#include "run_program.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace quorvel::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

namespace {

// posix_spawn's file actions: stdin, stdout, stderr from and to files, run
// in `directory`. Destroyed with the object.
class FileActions {
 public:
  FileActions(const std::filesystem::path& io, const std::filesystem::path& directory) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, 0, (io / "stdin").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions_, 1, (io / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions_, 2, (io / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str());
  }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ProgramRun RunQuorvel(const std::vector<std::string>& args, const std::filesystem::path& directory,
                      const std::string& input) {
  TempDir io;
  std::ofstream(io.path() / "stdin", std::ios::binary) << input;
  std::vector<std::string> words = {QUORVEL_PROGRAM};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  FileActions actions(io.path(), directory);
  pid_t pid = 0;
  if (posix_spawn(&pid, QUORVEL_PROGRAM, actions.get(), nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " QUORVEL_PROGRAM);
  }
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  ProgramRun run;
  run.out = ReadFile(io.path() / "stdout");
  run.err = ReadFile(io.path() / "stderr");
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return run;
}

std::string Transcript(const ProgramRun& run) {
  std::string text = run.out;
  if (!run.err.empty()) text += "--- stderr\n" + run.err;
  return text + "--- exit " + std::to_string(run.status) + "\n";
}

}  // namespace quorvel::testing
