#include "packlist/pack_list_writer.h"

namespace velinst::packlist {

PackListWriter::PackListWriter(ListOutput& output) : output_(output), buffer_(new char[kBufferSize]) {}

void PackListWriter::Flush() {
  if (used_ == 0) return;
  const std::size_t size = used_;
  used_ = 0;
  if (!output_.Write(buffer_.get(), size)) throw PackListWriteFailed();
}

}  // namespace velinst::packlist
