#include "features/alias_file.h"

#include <iostream>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "byte_reader.h"
#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "strbufs.h"

namespace lorvan {
namespace {

constexpr std::size_t kLengthBytes = 4;

void write_length(std::ostream& out, std::size_t length) {
  StrBufs buf(kLengthBytes);
  buf.push_int(static_cast<int>(length));
  out.write(buf.str(), static_cast<std::streamsize>(kLengthBytes));
}

// The bytes left in `in` from its current position, or -1 when the stream
// cannot tell.
std::streamoff bytes_left(std::istream& in) {
  const std::streampos here = in.tellg();
  if (here < 0) return -1;
  in.seekg(0, std::ios::end);
  const std::streampos end = in.tellg();
  in.seekg(here);
  return end < 0 ? -1 : static_cast<std::streamoff>(end - here);
}

std::ostream& fault(const char* file_name) {
  return std::cerr << "load-aliases: " << (file_name != nullptr ? file_name : "") << ": ";
}

}  // namespace

bool save_aliases(const AttInterpreterList& type, std::ostream& out) {
  StrBufs record;
  for (const AttInterpreterList::Alias* alias : type.alias_order()) {
    record.clear();
    record.push(alias->name.c_str());
    record.push_char('\0');
    alias->vec->pack(record);
    write_length(out, record.length());
    out.write(record.str(), static_cast<std::streamsize>(record.length()));
  }
  return static_cast<bool>(out);
}

int load_aliases(AttInterpreterList& type, std::istream& in, const char* file_name) {
  int added = 0;
  std::string bytes;
  for (;;) {
    char length_bytes[kLengthBytes];
    if (!in.read(length_bytes, kLengthBytes)) break;
    const char* cursor = length_bytes;
    const std::size_t length = StrBufs::get_unsigned_int(cursor);
    // A length beyond the end of the file is a cut record; checking first
    // keeps a corrupt length from asking for gigabytes.
    const std::streamoff left = bytes_left(in);
    if (left >= 0 && static_cast<std::streamoff>(length) > left) {
      fault(file_name) << "truncated record\n";
      break;
    }
    bytes.resize(length);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(length))) {
      fault(file_name) << "truncated record\n";
      break;
    }
    ByteReader reader(bytes.data(), bytes.size());
    const char* name = reader.get_str();
    if (name == nullptr) {
      fault(file_name) << "record without alias name\n";
      continue;
    }
    auto vec = std::make_unique<AttVec>(&type);
    if (!vec->unpack(reader)) {
      fault(file_name) << "bad vector for alias " << name << '\n';
      continue;
    }
    if (type.alias(name, std::move(vec)) != nullptr) ++added;
  }
  return added;
}

}  // namespace lorvan
