// The temporary file that receives one answer. Answers carry auth tokens,
// so the file is deleted on every way out of the call that made it.
#pragma once

#include "platform/path_buffer.h"

namespace velinst {

class CRKAnswerFile {
 public:
  CRKAnswerFile() = default;
  CRKAnswerFile(const CRKAnswerFile&) = delete;
  CRKAnswerFile& operator=(const CRKAnswerFile&) = delete;
  ~CRKAnswerFile() { Delete(); }

  // Creates an empty file with a new name in the user's temporary folder.
  bool Create();
  // Deletes the file if it was created and still exists.
  void Delete();

  const char* Path() const { return path_; }

 private:
  PathBuffer path_ = {};
  bool created_ = false;
};

}  // namespace velinst
