#include "webclient/answer_file.h"

#include "platform/cdos.h"

namespace velinst {

bool CRKAnswerFile::Create() {
  Delete();
  created_ = CDOS().TemporaryFileName(path_, nullptr, "TMP", 0) != 0;
  return created_;
}

void CRKAnswerFile::Delete() {
  if (!created_) return;
  const CDOS dos;
  if (dos.Exists(path_)) dos.DeleteSingleFile(path_);
  created_ = false;
}

}  // namespace velinst
