// Writing a whole file so that, at any moment (a kill included), its name
// holds either the old file or the complete new one, and nothing the name
// merely leads to is replaced. Linux only; results are errno values (0: done).
//
// - A plain or missing file is replaced: the bytes go into a temporary file
//   beside it, created exclusively (O_CREAT|O_EXCL, so never through a link)
//   under an unpredictable name, flushed to disk, given the old file's owner
//   (where permitted), extended attributes and mode on its descriptor, and
//   renamed over the name.
// - A symbolic link is followed only where the kernel's protected-symlinks
//   rule allows it whatever the system's setting: the link is not in a
//   world-writable sticky folder, or its owner is the caller or the folder's
//   owner. Otherwise the write is refused with EACCES and nothing changes.
// - Anything else that is not a plain file (a FIFO, a device, a socket, a
//   folder) is never renamed over: the finished bytes are written to it
//   once, directly (opening a folder or a socket fails as the system says).
//   So is a process's open file reached through /proc ("/dev/stdout").
//
// - A plain file that is read-only (its owner may not write it, or its
//   Windows read-only attribute is set: platform/file_attributes.h) is
//   refused with EACCES, whoever the caller is (root included), unless the
//   caller owns such files (a backup is read-only by design).
// - Temporary files left by a writer that was killed are removed by the next
//   write to the same target (Linux): those of its folder that carry our
//   naming pattern for that target (also the pattern built on one of ours,
//   made by a program replacing the file it was handed), are plain files
//   of this user, unchanged for kStaleTemporaryAge, and not locked. A
//   writer holds an advisory lock (flock) on its temporary file until it is
//   renamed or removed, so a long write is never taken for a stale one; the
//   age covers a writer between the moments it holds no lock (the editor
//   has renamed its file over ours and ended, the control is about to read
//   it) and writers of earlier versions, which took no lock.
//
// One FileReplacement per write, used by one thread.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvane::platform {

// How long a temporary file of ours must have been left unchanged before a
// write to its target may remove it (when nobody holds its lock).
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

// Runs on the new file's descriptor after the old file's attributes are
// copied and before the rename; a non-zero errno cancels the write.
using PrepareNewFile = std::function<int(int descriptor)>;

// What Begin does with a plain target file that is read-only.
enum class ReadOnlyFile { kRefuse, kReplace };

class FileReplacement {
 public:
  // Resolves `path` (links as above) into *out. Returns 0, EACCES for a link
  // the rule does not follow or (with kRefuse) a read-only plain file,
  // ELOOP for too many links, or the errno of an examination that failed.
  // Creates nothing yet.
  static int Begin(const std::string& path, std::unique_ptr<FileReplacement>* out,
                   ReadOnlyFile read_only = ReadOnlyFile::kRefuse);

  // Removes the staged temporary file unless it was renamed over the target.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Creates (once) the temporary file the new contents are prepared in and
  // sets *path to it: beside the target when the target is replaced, in
  // $TMPDIR (or /tmp) when it is written directly. Stale temporary files of
  // the target in that folder are removed first (above). Another program may
  // write it or rename a file over it until Commit. Returns 0 or errno.
  int Stage(std::string* path);

  // The staged file's current contents. Returns 0 or errno (ENOENT when
  // nothing is staged); a link at its name is not followed (ELOOP).
  int ReadStaged(std::string* bytes) const;

  // Makes `bytes` the target's contents as described at the top, running
  // `prepare` on a replacing file. A staged file is rewritten with `bytes`
  // and renamed (replacement) or removed (direct write). Returns 0 or errno;
  // on failure the target is as it was (a direct write may be partial).
  int Commit(std::string_view bytes, const PrepareNewFile& prepare = {});

  // The file the bytes reach: `path` after the links it names.
  const std::string& target() const { return target_; }
  // Whether the target is replaced by a rename (plain or missing file).
  bool replaces() const { return replaces_; }

 private:
  FileReplacement() = default;
  int CommitReplacement(std::string_view bytes, const PrepareNewFile& prepare);
  int CommitDirect(std::string_view bytes);

  std::string target_;
  bool replaces_ = true;
  bool exists_ = false;
  bool through_link_ = false;  // a process's open file under /proc
  struct stat old_ {};
  std::string staged_;
  int lock_ = -1;  // Linux: the descriptor holding the staged file's lock
};

// FileReplacement::Begin (read-only files refused), then Commit of `bytes`.
int ReplaceFileContents(const std::string& path, std::string_view bytes, const PrepareNewFile& prepare = {});

}  // namespace orvane::platform
