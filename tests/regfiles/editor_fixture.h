// A control on a fresh store whose PATH holds only a temporary folder of
// stand-in programs: our own regedit (UseOurEditor) or shell scripts
// (AddScript). The Windows directory is the store's folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "about/fake_program.h"
#include "control/control_fixture.h"

namespace orvane {

class EditorTest : public ControlTest {
 protected:
  // Our regedit, found as REGEDIT.EXE.
  void UseOurEditor() {
    std::filesystem::copy_file(REGEDIT_PROGRAM, programs_.dir() / "orvane-regedit",
                               std::filesystem::copy_options::overwrite_existing);
  }
  // A shell script named `name` with `body` after its "#!/bin/sh" line.
  void AddScript(const std::string& name, const std::string& body) {
    const std::filesystem::path script = programs_.dir() / name;
    std::ofstream(script) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }
  // A stand-in regedit that records its arguments, one a line, in
  // regedit.args and then runs `then` (for example writing the export file,
  // "$4" after "/S /E --").
  void AddRecordingEditor(const std::string& then = "") {
    AddScript("orvane-regedit", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args\"\n" + then);
  }
  // What the recording editor received; waits a moment for an editor that
  // the control does not wait for.
  std::string RecordedArguments() {
    const std::filesystem::path file = programs_.dir() / "orvane-regedit.args";
    for (int i = 0; i < 100 && !std::filesystem::exists(file); ++i) usleep(20000);
    usleep(20000);
    return ReadText(file);
  }
  bool EditorStarted() const { return std::filesystem::exists(programs_.dir() / "orvane-regedit.args"); }

  static std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path Folder() const { return registry_.path(); }
  std::string In(const std::string& name) const { return (registry_.path() / name).string(); }

  testing::FakePrograms programs_;
};

}  // namespace orvane
