// A control on a fresh store that starts our own regedit (UseOurEditor) or,
// on Linux, shell scripts (AddScript). On Linux PATH holds only a temporary
// folder of these stand-ins and the Windows directory is the store's folder;
// on Windows the control starts the orvane-regedit.exe placed beside the test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#ifndef _WIN32
#include "about/fake_program.h"
#endif
#include "control/control_fixture.h"

namespace orvane {

class EditorTest : public ControlTest {
 protected:
#ifdef _WIN32
  // The build places orvane-regedit.exe beside the test, where the control looks.
  void UseOurEditor() {}
#else
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
    for (int i = 0; i < 100 && !std::filesystem::exists(file); ++i) Pause();
    Pause();
    return ReadText(file);
  }
  bool EditorStarted() const { return std::filesystem::exists(programs_.dir() / "orvane-regedit.args"); }
#endif

  // A short pause while polling for an editor the control does not wait for.
  static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }
  static std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path Folder() const { return registry_.path(); }
  std::string In(const std::string& name) const { return (registry_.path() / name).string(); }

#ifndef _WIN32
  testing::FakePrograms programs_;
#endif
};

}  // namespace orvane
