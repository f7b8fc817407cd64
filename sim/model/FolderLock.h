#pragma once

#include <filesystem>

namespace nwsim {

// Serialises writers of one server folder across threads and processes.
// Creating a directory is atomic on every file system we meet, so the lock
// is a directory; one left behind by a crashed writer is taken over once
// it is older than any real update could take.
class FolderLock {
public:
  explicit FolderLock(const std::filesystem::path& root);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

private:
  std::filesystem::path FPath;
};

}  // namespace nwsim
